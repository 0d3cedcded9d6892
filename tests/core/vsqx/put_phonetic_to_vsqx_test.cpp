// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/scan_text_p.h"
#include "support/case_file.h"

#include <gtest/gtest.h>
#include <random>

namespace lirobel::vsqx {
namespace {

// The rewrite the plain way, slow on purpose, for the fast one to be checked against: a new text per edit,
// the item looked up afresh at every position, and the 16-bit counters failing where they overflow.
QByteArray SpliceText(const QByteArray& text, const QByteArray& insert, qsizetype keep, qsizetype resume) {
    return text.left(keep) + insert + text.mid(resume - 1);
}

PhoneticRewrite SlowRewrite(QByteArray t, QStringView p) {
    const PhoneticRewrite failed{};
    int n = 1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        QString g = GetPhoneticItem(p, n).toString();
        if (g.isEmpty())
            break;
        const QByteArray w = t.mid(i, 7);
        if (w == "<lyric>") {
            int k = 8;
            while (t.mid(i + k - 1, 8) != "</lyric>")
                if (++k > 32767)
                    return failed;
            t = SpliceText(t, "<![CDATA[a]]>", i + 7, i + k);
        } else if (w == "<phnms>" || w == "<phnms ") {
            int k = 8;
            while (t.mid(i + k - 1, 8) != "</phnms>")
                if (++k > 32767)
                    return failed;
            if (g.right(6) == u"[-OPE]") {
                g.chop(6);
                qsizetype j = i;
                while (t.mid(j, 19) != "<attr id=\"opening\">")
                    if (++j >= t.size())
                        return failed;
                qsizetype m = j + 19;
                while (t.mid(m, 7) != "</attr>")
                    if (++m >= t.size())
                        return failed;
                t = SpliceText(t, "0", j + 19, m + 1);
            }
            t = SpliceText(t, " lock=\"1\"><![CDATA[" + g.toUtf8() + "]]>", i + 6, i + k);
            if (++n > 32767)
                return failed;
        }
    }
    return {true, t, n - 1, {}};
}

void ExpectSameRewrite(const QByteArray& text, const QString& phonetic) {
    const PhoneticRewrite expected = SlowRewrite(text, phonetic);
    const PhoneticRewrite actual = PutPhoneticToVSQX(text, phonetic);
    const std::string inputs = "text: " + text.toStdString() + "\nphonetic: " + phonetic.toStdString();
    ASSERT_EQ(actual.ok, expected.ok) << inputs << "\n" << actual.failure.toStdString();
    EXPECT_EQ(actual.text, expected.text) << inputs;
    if (expected.ok) {
        EXPECT_EQ(actual.notesWritten, expected.notesWritten) << inputs;
    }
}

QByteArray RandomPieces(std::mt19937& random, const auto& pieces, int most) {
    QByteArray result;
    std::uniform_int_distribution<qsizetype> pick(0, std::ssize(pieces) - 1);
    for (int count = std::uniform_int_distribution(0, most)(random); count > 0; --count)
        result += pieces[pick(random)];
    return result;
}

// The pieces of a set of random_pieces.tsv, whose head says what each set is for.
QByteArrayList Pieces(const char* set) {
    static const std::vector<QByteArrayList> rows = test::ReadCaseFile(LIROBEL_TEST_DATA "/random_pieces.tsv");
    QByteArrayList pieces;
    for (const QByteArrayList& row : rows) {
        if (row[0] == set)
            pieces << row[1];
    }
    return pieces;
}

// Random texts of the pieces of random_pieces.tsv; in the second set, openings lie far on.
TEST(PutPhoneticToVSQX, MatchesTheSlowRewriteOnRandomTexts) {
    const struct {
        const char* text;
        const char* items;
        int rounds;
        int mostPieces;
        int mostItems;
    } sets[] = {{"text", "items", 20000, 40, 16}, {"farText", "farItems", 1500, 120, 80}};
    std::mt19937 random(20261206);
    for (const auto& set : sets) {
        const QByteArrayList textPieces = Pieces(set.text);
        const QByteArrayList itemPieces = Pieces(set.items);
        const bool far = set.mostItems == 80;
        for (int round = 0; round < set.rounds && !HasFatalFailure(); ++round) {
            const QByteArray text = RandomPieces(random, textPieces, set.mostPieces);
            const QString phonetic = QString::fromUtf8(RandomPieces(random, itemPieces, set.mostItems));
            ExpectSameRewrite(text, phonetic);
            // The same notes with one opening, at the end: every marked item finds it.
            if (far)
                ExpectSameRewrite(text + "<attr id=\"opening\">64</attr>", phonetic);
            // Openings more than 4 KB on, which the rewrite edits in place without copying what lies before.
            const QByteArray filler = "<noteStyle>" + QByteArray(5000, 'x') + "</noteStyle>";
            if (far && round % 10 == 0)
                ExpectSameRewrite(text + filler + text + filler + "<attr id=\"opening\">64</attr>" + text, phonetic);
        }
    }
}

// The rewrite's text of edits and views against a plain byte array, with tags that run across the ends of
// what was prepended and replaced, which the rewrite's own edits seldom make.
TEST(ScanText, MatchesAPlainByteArray) {
    static const QByteArray kPieces[] = {"<ab>", "<a", "b>", "a", "b", "<", ">", "<ba"};
    static const QByteArray kTags[] = {"<ab>", "<a", "b>a<", "<ba"};
    std::mt19937 random(20261208);
    const auto below = [&random](qsizetype bound) {
        return std::uniform_int_distribution<qsizetype>(0, std::max<qsizetype>(bound, 0))(random);
    };
    for (int round = 0; round < 3000; ++round) {
        const QByteArray original = RandomPieces(random, kPieces, 20);
        // Edits near the scan join the pending bytes, edits further on cut the segments.
        ScanText text(original, round % 3 == 0 ? 4096 : round % 3);
        QByteArray model = original;
        QByteArray out;
        QByteArray modelOut;
        for (int step = 0; step < 30; ++step) {
            const QByteArray bytes = RandomPieces(random, kPieces, 3);
            const qsizetype count = below(std::min<qsizetype>(model.size(), 8));
            switch (below(4)) {
            case 0:
                text.Prepend(bytes);
                model.prepend(bytes);
                break;
            case 1:
            case 2: {
                const qsizetype from = below(model.size());
                const qsizetype to = from + below(6);
                text.Replace(from, to, bytes);
                model.replace(from, std::min(to, model.size()) - from, bytes);
                break;
            }
            case 3:
                text.MoveTo(out, count);
                modelOut += model.first(count);
                model.remove(0, count);
                break;
            default:
                text.Drop(count);
                model.remove(0, count);
                break;
            }
            const std::string state = "original: " + original.toStdString() + "\nnow: " + model.toStdString();
            ASSERT_EQ(text.Size(), model.size()) << state;
            ASSERT_EQ(out, modelOut) << state;
            for (const QByteArray& tag : kTags) {
                const qsizetype from = below(model.size());
                const qsizetype lastStart = from + below(model.size());
                qsizetype expected = -1;
                for (qsizetype at = from; at <= lastStart && expected < 0; ++at)
                    expected = model.sliced(std::min(at, model.size())).startsWith(tag) ? at : -1;
                ASSERT_EQ(text.IndexOf(tag, from, lastStart), expected) << state << "\n" << tag.toStdString();
                ASSERT_EQ(text.HasAt(from, tag), model.sliced(from).startsWith(tag)) << state;
            }
            qsizetype expected = -1;
            for (qsizetype at = 0; at < model.size() && expected < 0; ++at)
                expected = model.sliced(at).startsWith("<ab>") || model.sliced(at).startsWith("<ba") ? at : -1;
            ASSERT_EQ(text.IndexOfAny({"<ab>", "<ba"}), expected) << state;
        }
    }
}

} // namespace
} // namespace lirobel::vsqx
