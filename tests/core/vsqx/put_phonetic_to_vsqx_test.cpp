// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/phonetic_items.h"
#include "core/vsqx/pour_progress.h"
#include "core/vsqx/put_phonetic_to_vsqx.h"
#include "core/vsqx/put_phonetic_to_vsqx4.h"
#include "core/vsqx/scan_text_p.h"
#include "support/vsqx_generator.h"

#include <gtest/gtest.h>
#include <optional>
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

template <size_t N> const QByteArray& Pick(std::mt19937& random, const QByteArray (&pieces)[N]) {
    return pieces[std::uniform_int_distribution<size_t>(0, N - 1)(random)];
}

QByteArray RandomPieces(std::mt19937& random, const auto& pieces, int most) {
    QByteArray result;
    for (int count = std::uniform_int_distribution(0, most)(random); count > 0; --count)
        result += Pick(random, pieces);
    return result;
}

TEST(PutPhoneticToVSQX, MatchesTheSlowRewriteOnRandomTexts) {
    // Tags whole and broken, elements with attributes or self-closed, bytes of other scripts; the items
    // hold tags and '<' too, since the scan runs over what it writes.
    static const QByteArray kTextPieces[] = {"<lyric>",
                                             "</lyric>",
                                             "<phnms>",
                                             "<phnms ",
                                             "</phnms>",
                                             "<phnms/>",
                                             "<attr id=\"opening\">",
                                             "</attr>",
                                             "<lyric",
                                             "<phnms",
                                             "<",
                                             ">",
                                             "a",
                                             "xy",
                                             "\n",
                                             " lock=\"1\">",
                                             "\xe3\x81\x82",
                                             "<![CDATA[n i]]>",
                                             "<attr id=\"opening\">64</attr>"};
    static const QByteArray kItemPieces[] = {"J i",
                                             "a",
                                             "[-OPE]",
                                             "[-OPE]|",
                                             "|",
                                             "|",
                                             "<phnms>",
                                             "</phnms>",
                                             "<lyric>",
                                             "</lyric>",
                                             "<attr id=\"opening\">",
                                             "</attr>",
                                             "<",
                                             "\xe4\xbd\xa0"};
    std::mt19937 random(20261206);
    for (int round = 0; round < 20000; ++round) {
        const QByteArray text = RandomPieces(random, kTextPieces, 40);
        const QString phonetic = QString::fromUtf8(RandomPieces(random, kItemPieces, 16));
        ExpectSameRewrite(text, phonetic);
        if (HasFatalFailure())
            return;
    }
}

TEST(PutPhoneticToVSQX, MatchesTheSlowRewriteWhenOpeningsLieFarOn) {
    // Long runs of notes without an opening attribute, so that marked items share one far on; values that
    // hold tags or no "</attr>" at all, openings inside phoneme elements, and items that bring openings,
    // ends of attributes and phoneme elements of their own, which come before a far opening.
    static const QByteArray kTextPieces[] = {"<lyric>x</lyric><phnms>a</phnms>",
                                             "<lyric>x</lyric><phnms>a</phnms>",
                                             "<lyric>x</lyric><phnms>a</phnms>",
                                             "<phnms>b</phnms>xy",
                                             "<phnms>b</phnms>xy",
                                             "<phnms x=\"1\">c</phnms>",
                                             "<noteStyle>xyz</noteStyle>",
                                             "<",
                                             "\xe3\x81\x82",
                                             "<attr id=\"opening\">127</attr>",
                                             "<attr id=\"opening\">",
                                             "</attr>",
                                             "<attr id=\"opening\"><phnms>d</phnms></attr>",
                                             "<attr id=\"opening\">0</attr>",
                                             "<phnms><attr id=\"opening\">5</attr></phnms>",
                                             "<lyric><attr id=\"opening\">5</attr></lyric>"};
    static const QByteArray kItemPieces[] = {"J i[-OPE]|",
                                             "J i[-OPE]|",
                                             "J i[-OPE]|",
                                             "a[-OPE]|",
                                             "b|",
                                             "<attr id=\"opening\">",
                                             "</attr>",
                                             "<phnms>",
                                             "</phnms>",
                                             "<attr id=\"opening\">7</attr>",
                                             "<phnms>x</phnms><attr id=\"opening\"><attr id=\"opening\">7</attr>",
                                             "<phnms>x</phnms>y<attr id=\"opening\">8</attr>"};
    std::mt19937 random(20261207);
    for (int round = 0; round < 1500; ++round) {
        const QByteArray text = RandomPieces(random, kTextPieces, 120);
        const QString phonetic = QString::fromUtf8(RandomPieces(random, kItemPieces, 80));
        ExpectSameRewrite(text, phonetic);
        if (HasFatalFailure())
            return;
        // The same notes with one opening, at the end: every marked item finds it.
        ExpectSameRewrite(text + "<attr id=\"opening\">64</attr>", phonetic);
        if (HasFatalFailure())
            return;
        // Openings more than 4 KB on, which the rewrite edits in place without copying what lies before.
        if (round % 10 == 0) {
            const QByteArray filler = "<noteStyle>" + QByteArray(5000, 'x') + "</noteStyle>";
            ExpectSameRewrite(text + filler + text + filler + "<attr id=\"opening\">64</attr>" + text, phonetic);
            if (HasFatalFailure())
                return;
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

TEST(PutPhoneticToVSQX, MatchesTheSlowRewriteOnGeneratedFiles) {
    const QByteArray text = test::GenerateVsqx({2, 2, 6, test::LineEnds::None});
    for (int items : {0, 1, 7, 24, 30})
        ExpectSameRewrite(text, test::GeneratePhonetic(items));
}

struct RewriteCase {
    const char* name;
    QByteArray text;
    const char* phonetic;
    std::optional<QByteArray> rewritten; // nothing when the rewrite must fail
    int notesWritten;

    friend void PrintTo(const RewriteCase& row, std::ostream* os) { *os << row.name; }
};

class RewriteTest : public testing::TestWithParam<RewriteCase> {};

TEST_P(RewriteTest, WritesItemsLyricsAndOpenings) {
    const RewriteCase& row = GetParam();
    const PhoneticRewrite rewrite = PutPhoneticToVSQX(row.text, QString::fromUtf8(row.phonetic));
    ASSERT_EQ(rewrite.ok, row.rewritten.has_value()) << rewrite.failure.toStdString();
    if (rewrite.ok) {
        EXPECT_EQ(rewrite.text, *row.rewritten);
        EXPECT_EQ(rewrite.notesWritten, row.notesWritten);
    }
}

const QByteArray kNote = "<lyric><![CDATA[你]]></lyric><phnms><![CDATA[n i]]></phnms><attr id=\"opening\">64</attr>";
const QByteArray kWritten = "<lyric><![CDATA[a]]></lyric><phnms lock=\"1\"><![CDATA[J i]]></phnms>";

INSTANTIATE_TEST_SUITE_P(
    Notes, RewriteTest,
    testing::Values(
        RewriteCase{"emptyText", "", "J i|", "", 0},
        RewriteCase{"twoItemsThreeNotes", kNote + kNote + kNote, "J i|J i|",
                    kWritten + "<attr id=\"opening\">64</attr>" + kWritten + "<attr id=\"opening\">64</attr>" + kNote,
                    2},
        RewriteCase{"marker", kNote, "J i[-OPE]|", kWritten + "<attr id=\"opening\">0</attr>", 1},
        RewriteCase{"markerEmptyValue", "<phnms>o</phnms><attr id=\"opening\"></attr>", "o[-OPE]|",
                    "<phnms lock=\"1\"><![CDATA[o]]></phnms><attr id=\"opening\">0</attr>", 1},
        RewriteCase{"markerTakesTheNextNotesOpening", "<phnms>x</phnms><phnms>y</phnms><attr id=\"opening\">9</attr>",
                    "a[-OPE]|b|",
                    "<phnms lock=\"1\"><![CDATA[a]]></phnms><phnms lock=\"1\"><![CDATA[b]]></phnms>"
                    "<attr id=\"opening\">0</attr>",
                    2},
        RewriteCase{"attributesDropped", "<phnms lock=\"1\" x=\"y\">a</phnms>", "J i|",
                    "<phnms lock=\"1\"><![CDATA[J i]]></phnms>", 1},
        RewriteCase{"otherFormsSkipped", "<lyric x=\"1\">b</lyric><phnms/><phnms>a</phnms>", "J i|",
                    "<lyric x=\"1\">b</lyric><phnms/><phnms lock=\"1\"><![CDATA[J i]]></phnms>", 1},
        RewriteCase{"leadingBar", kNote, "|J i|", kNote, 0},
        RewriteCase{"emptyItemStops", kNote + kNote, "J i||J i|", kWritten + "<attr id=\"opening\">64</attr>" + kNote,
                    1},
        RewriteCase{"lastItemWithoutBar", kNote + kNote, "J i|h a o",
                    kWritten + "<attr id=\"opening\">64</attr>" + kNote, 1},
        RewriteCase{"moreItemsThanNotes", kNote, "J i|a|b|", kWritten + "<attr id=\"opening\">64</attr>", 1},
        RewriteCase{"utf8Item", "<phnms>a</phnms>", "你|", "<phnms lock=\"1\"><![CDATA[你]]></phnms>", 1},
        RewriteCase{"markerWithoutOpening", "<phnms>a</phnms>", "o[-OPE]|", std::nullopt, 0},
        RewriteCase{"markerWithoutAttrEnd", "<phnms>a</phnms><attr id=\"opening\">1", "o[-OPE]|", std::nullopt, 0},
        RewriteCase{"lyricUnclosed", "<lyric>a<phnms>a</phnms>", "o|", std::nullopt, 0},
        RewriteCase{"phonemesUnclosed", "<phnms>a</phnm>", "o|", std::nullopt, 0}),
    [](const testing::TestParamInfo<RewriteCase>& row) { return std::string(row.param.name); });

TEST(PutPhoneticToVSQX, CountsItemsAndNotesLeftWithoutAPartner) {
    struct Row {
        QByteArray text;
        const char16_t* phonetic;
        int notesWritten, itemsLeft, notesLeft;
    };
    const Row rows[] = {
        {kNote + kNote + kNote, u"J i|J i|", 2, 0, 1},
        {kNote, u"J i|a|b|", 1, 2, 0},
        {kNote + kNote, u"J i|h a o", 1, 0, 1},
        {kNote, u"|J i|", 0, 2, 1},
        {kNote + kNote, u"J i||J i|", 1, 2, 1},
        {"<phnms/><phnms x=\"1\">a</phnms><phnms>b</phnms>", u"", 0, 0, 2},
    };
    for (const Row& row : rows) {
        const PhoneticRewrite rewrite = PutPhoneticToVSQX(row.text, row.phonetic);
        ASSERT_TRUE(rewrite.ok);
        EXPECT_EQ(rewrite.notesWritten, row.notesWritten) << QStringView(row.phonetic).toString().toStdString();
        EXPECT_EQ(rewrite.itemsLeft, row.itemsLeft) << QStringView(row.phonetic).toString().toStdString();
        EXPECT_EQ(rewrite.notesLeft, row.notesLeft) << QStringView(row.phonetic).toString().toStdString();
    }
}

TEST(PutPhoneticToVSQX, HandsTheResultToTheWriteHookPieceByPiece) {
    for (const int version : {3, 4}) {
        const auto rewriteOf = version == 4 ? PutPhoneticToVSQX4 : PutPhoneticToVSQX;
        const QByteArray text = test::GenerateVsqx({1, 1, 1000, test::LineEnds::None, version});
        const QString phonetic = test::GeneratePhonetic(1000);
        QByteArray written;
        int pieces = 0;
        int yields = 0;
        RewriteHooks hooks{[&yields] { ++yields; },
                           [&](QByteArrayView piece) {
                               written += piece;
                               return ++pieces < 100;
                           }};
        const PhoneticRewrite rewrite = rewriteOf(text, phonetic, hooks, {});
        EXPECT_TRUE(rewrite.ok);
        EXPECT_TRUE(rewrite.text.isEmpty());
        EXPECT_EQ(written, rewriteOf(text, phonetic, {}, {}).text);
        EXPECT_GE(pieces, 2);
        EXPECT_GE(yields, text.size() / kYieldBytes - 1) << version;

        pieces = 99; // the next piece is refused
        EXPECT_FALSE(rewriteOf(text, phonetic, hooks, {}).ok);
    }
}

TEST(PutPhoneticToVSQX, ClosingTagMustBeginWithin32759BytesOfContent) {
    for (const char* element : {"lyric", "phnms"}) {
        for (const int content : {32759, 32760}) {
            const QByteArray text = QByteArray("<") + element + ">" + QByteArray(content, 'x') + "</" + element + ">";
            EXPECT_EQ(PutPhoneticToVSQX(text, QStringLiteral("a|")).ok, content == 32759) << element << " " << content;
        }
    }
}

TEST(PutPhoneticToVSQX, FailsOnceThe32767thNoteIsWritten) {
    for (const int notes : {32766, 32767}) {
        const QByteArray text = QByteArray("<phnms>a</phnms>").repeated(notes);
        const PhoneticRewrite rewrite = PutPhoneticToVSQX(text, QStringLiteral("b|").repeated(notes + 1));
        EXPECT_EQ(rewrite.ok, notes == 32766);
        EXPECT_EQ(rewrite.notesWritten, notes);
    }
}

} // namespace
} // namespace lirobel::vsqx
