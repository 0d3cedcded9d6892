// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/kana/kanji_to_kana.h"

#include <QByteArray>
#include <QFileInfo>
#include <mecab.h>
#include <mutex>
#include <optional>
#include <vector>

#ifndef LIROBEL_JAPANESE_DICTIONARY
#error "LIROBEL_JAPANESE_DICTIONARY must name the dictionary folder"
#endif

namespace lirobel::kana {

namespace {

// The field of a MeCab feature that holds the reading in katakana, in both ipadic and naist-jdic.
constexpr int kReadingField = 7;

bool IsKanji(char32_t c) {
    return c == U'々' || c == U'〆' || c == U'〇' || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

bool IsKana(QChar c) {
    return c.unicode() >= 0x3041 && c.unicode() <= 0x30FF && c.unicode() != 0x30FB; // not the middle dot
}

char32_t CodePointAt(QStringView text, qsizetype i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    return text[i].unicode();
}

qsizetype KanjiCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = CodePointAt(text, i);
        count += IsKanji(c);
        i += c > 0xFFFF;
    }
    return count;
}

// The same count on UTF-8 made by Qt, without decoding it into a string first: MeCab's words come as bytes.
qsizetype KanjiCount(QByteArrayView utf8) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < utf8.size();) {
        const auto byte = [&](qsizetype at) { return at < utf8.size() ? char32_t(uchar(utf8[at]) & 0x3F) : 0; };
        const uchar lead = uchar(utf8[i]);
        if (lead < 0xE0) { // no kanji below U+0800
            i += lead < 0x80 ? 1 : 2;
        } else if (lead < 0xF0) {
            count += IsKanji(char32_t(lead & 0x0F) << 12 | byte(i + 1) << 6 | byte(i + 2));
            i += 3;
        } else {
            count += IsKanji(char32_t(lead & 0x07) << 18 | byte(i + 1) << 12 | byte(i + 2) << 6 | byte(i + 3));
            i += 4;
        }
    }
    return count;
}

QChar Hiragana(QChar c) {
    return c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6 ? QChar(c.unicode() - 0x60) : c;
}

QString Hiragana(QStringView katakana) {
    QString text(katakana.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < katakana.size(); ++i)
        text[i] = Hiragana(katakana[i]);
    return text;
}

// The reading put in place of a word: kana the user wrote on the word's edges stay as written (a
// katakana ドイツ in ドイツ語, the ん of 呼ん), so that only the kanji change.
QString ReadWord(QStringView word, const QString& reading) {
    qsizetype front = 0;
    while (front < word.size() && front < reading.size() && IsKana(word[front]) &&
           Hiragana(word[front]) == reading[front])
        ++front;
    qsizetype back = 0;
    while (back < word.size() - front && back < reading.size() - front && IsKana(word[word.size() - 1 - back]) &&
           Hiragana(word[word.size() - 1 - back]) == reading[reading.size() - 1 - back])
        ++back;
    if (front + back == reading.size())
        return reading; // nothing of the reading would be left for the kanji
    QString read = word.left(front).toString();
    read += QStringView(reading).mid(front, reading.size() - front - back);
    read += word.right(back);
    return read;
}

QByteArrayView Field(const char* feature, int index) {
    for (int i = 0; i < index; ++i) {
        while (*feature && *feature != ',')
            ++feature;
        if (!*feature++)
            return {};
    }
    const char* end = feature;
    while (*end && *end != ',')
        ++end;
    return QByteArrayView(feature, end);
}

// A kanji run followed by a bracketed reading of kana only: where the run starts, where the closing
// bracket ends, and the reading.
struct BracketedReading {
    qsizetype kanjiStart;
    qsizetype end;
    QStringView reading;
};

std::optional<BracketedReading> BracketedReadingAt(QStringView line, qsizetype open) {
    const char16_t close = line[open] == u'(' ? u')' : line[open] == u'（' ? u'）' : 0;
    if (!close)
        return std::nullopt;
    qsizetype kanjiStart = open;
    while (kanjiStart > 0) {
        const bool pair = kanjiStart > 1 && line[kanjiStart - 1].isLowSurrogate();
        if (!IsKanji(CodePointAt(line, kanjiStart - (pair ? 2 : 1))))
            break;
        kanjiStart -= pair ? 2 : 1;
    }
    if (kanjiStart == open)
        return std::nullopt;
    qsizetype end = open + 1;
    while (end < line.size() && IsKana(line[end]))
        ++end;
    if (end == open + 1 || end == line.size() || line[end] != close)
        return std::nullopt;
    return BracketedReading{kanjiStart, end + 1, line.mid(open + 1, end - open - 1)};
}

// MeCab reads a line in stretches of at most this many code units: it refuses a sentence of a few
// megabytes, and a lattice takes memory in proportion to its sentence.
constexpr qsizetype kLongestStretch = qsizetype{1} << 15;

bool IsCut(QChar c) {
    return c.isSpace() || c.isPunct() || c.isSymbol();
}

// Where a stretch of a long line that starts at start ends: after punctuation or a space, which end
// MeCab's words anyway, else between a kana and a kanji, else between two kana; never inside a surrogate
// pair.
qsizetype StretchEnd(QStringView line, qsizetype start) {
    if (line.size() - start <= kLongestStretch)
        return line.size();
    const qsizetype limit = start + kLongestStretch;
    const qsizetype floor = start + kLongestStretch / 2;
    for (qsizetype at = limit; at > floor; --at) {
        if (IsCut(line[at - 1]))
            return at;
    }
    for (qsizetype at = limit; at > floor; --at) {
        if (IsKana(line[at - 1]) && !IsKana(line[at]))
            return at;
    }
    for (qsizetype at = limit; at > floor; --at) {
        if (IsKana(line[at - 1]))
            return at;
    }
    return line[limit].isLowSurrogate() ? limit + 1 : limit;
}

// Bytes of the UTF-8 form of text.
qsizetype Utf8Size(QStringView text) {
    qsizetype size = 0;
    for (const QChar c : text)
        size += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
    return size;
}

// Kept from line to line, so that reading a line allocates nothing of its own.
struct LineScratch {
    QString withReadings;
    std::vector<std::pair<qsizetype, qsizetype>> kept;
};

// A stretch of a line, and where in it (as UTF-8 bytes) the bracketed readings put in place stand.
struct Stretch {
    QStringView text;
    std::vector<std::pair<std::size_t, std::size_t>> kept;
};

} // namespace

struct KanjiReader::Tagger {
    std::unique_ptr<MeCab::Model> model;
    std::unique_ptr<MeCab::Tagger> tagger;

    // Whether a word that holds kanji takes in a part of a bracketed reading, which would then be read
    // again as part of that word.
    static bool ReachesIntoKept(MeCab::Lattice& lattice, const QByteArray& bytes, const Stretch& stretch) {
        for (const MeCab::Node* node = lattice.bos_node()->next; node && node->stat != MECAB_EOS_NODE;
             node = node->next) {
            const auto start = static_cast<std::size_t>(node->surface - bytes.constData());
            const std::size_t end = start + node->length;
            for (const auto& [keptStart, keptEnd] : stretch.kept) {
                if (start < keptEnd && keptStart < end && KanjiCount(QByteArrayView(node->surface, node->length)))
                    return true;
            }
        }
        return false;
    }

    // MeCab's words of one stretch of text without line breaks; false when MeCab cannot parse it.
    bool ReadStretch(const Stretch& stretch, MeCab::Lattice& lattice, QString& out, qsizetype& unread) const {
        if (KanjiCount(stretch.text) == 0) {
            out += stretch.text;
            return true;
        }
        const QByteArray bytes = stretch.text.toUtf8();
        lattice.set_sentence(bytes.constData(), static_cast<size_t>(bytes.size()));
        if (!tagger->parse(&lattice))
            return false;
        // The words around a bracketed reading are read in its context; should one of them take in the
        // reading, the stretch is read again with the reading's edges made the edges of words.
        if (!stretch.kept.empty() && ReachesIntoKept(lattice, bytes, stretch)) {
            lattice.set_sentence(bytes.constData(), static_cast<size_t>(bytes.size()));
            for (const auto& [keptStart, keptEnd] : stretch.kept) {
                lattice.set_boundary_constraint(keptStart, MECAB_TOKEN_BOUNDARY);
                lattice.set_boundary_constraint(keptEnd, MECAB_TOKEN_BOUNDARY);
            }
            if (!tagger->parse(&lattice))
                return false;
        }
        QByteArray read;
        read.reserve(bytes.size() + bytes.size() / 2);
        qsizetype copied = 0;
        for (const MeCab::Node* node = lattice.bos_node()->next; node && node->stat != MECAB_EOS_NODE;
             node = node->next) {
            const qsizetype start = node->surface - bytes.constData();
            // MeCab skips spaces between words without a node: they go out as they came in.
            read.append(bytes.constData() + copied, start - copied);
            copied = start + node->length;
            const QByteArrayView word(node->surface, node->length);
            const qsizetype kanji = KanjiCount(word);
            const QByteArrayView reading = kanji ? Field(node->feature, kReadingField) : QByteArrayView();
            if (!kanji) {
                read += word;
            } else if (node->stat == MECAB_UNK_NODE || reading.isEmpty() || reading == "*" || KanjiCount(reading)) {
                read += word; // unknown, or "read" as itself, as a 々 apart from its kanji is
                unread += kanji;
            } else {
                read += ReadWord(QString::fromUtf8(word), Hiragana(QString::fromUtf8(reading))).toUtf8();
            }
        }
        read.append(bytes.constData() + copied, bytes.size() - copied);
        out += QString::fromUtf8(read);
        return true;
    }

    // The line with every bracketed reading in place of its kanji is read whole, so that the words after
    // a reading are read in the context of the line: 微(かす)かな風 as かすかな風, so かすかなかぜ.
    bool ReadLine(QStringView line, MeCab::Lattice& lattice, LineScratch& scratch, QString& out,
                  qsizetype& unread) const {
        QString& withReadings = scratch.withReadings;
        auto& kept = scratch.kept; // in withReadings
        withReadings.clear();
        kept.clear();
        qsizetype done = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const std::optional<BracketedReading> bracketed = BracketedReadingAt(line, i);
            if (!bracketed || bracketed->kanjiStart < done)
                continue;
            withReadings += line.mid(done, bracketed->kanjiStart - done);
            kept.emplace_back(withReadings.size(), withReadings.size() + bracketed->reading.size());
            withReadings += bracketed->reading;
            done = bracketed->end;
            i = done - 1;
        }
        if (!kept.empty())
            withReadings += line.mid(done);
        const QStringView sentence = kept.empty() ? line : QStringView(withReadings);
        auto nextKept = kept.cbegin();
        for (qsizetype start = 0; start < sentence.size();) {
            const qsizetype end = StretchEnd(sentence, start);
            Stretch stretch{sentence.mid(start, end - start), {}};
            while (nextKept != kept.cend() && nextKept->second <= start)
                ++nextKept;
            qsizetype measured = start;
            std::size_t bytes = 0;
            const auto bytesTo = [&](qsizetype at) {
                bytes += static_cast<std::size_t>(Utf8Size(sentence.mid(measured, at - measured)));
                measured = at;
                return bytes;
            };
            for (auto at = nextKept; at != kept.cend() && at->first < end; ++at) {
                const std::size_t keptStart = bytesTo(std::max(at->first, start));
                stretch.kept.emplace_back(keptStart, bytesTo(std::min(at->second, end)));
            }
            if (!ReadStretch(stretch, lattice, out, unread))
                return false;
            start = end;
        }
        return true;
    }
};

KanjiReader::KanjiReader(const QString& dictionaryFolder) {
    // The settings file is none, so that /etc/mecabrc (which Debian points at whichever dictionary has the
    // highest priority) cannot choose a different dictionary from the one named here.
    const QByteArray folder = dictionaryFolder.toLocal8Bit();
    const char* arguments[] = {"lirobel", "-r", "/dev/null", "-d", folder.constData()};
    auto tagger = std::make_unique<Tagger>();
    tagger->model.reset(MeCab::createModel(5, const_cast<char**>(arguments)));
    QString cause;
    if (!tagger->model) {
        cause = QString::fromLocal8Bit(MeCab::getLastError());
    } else if (const QByteArrayView charset(tagger->model->dictionary_info()->charset);
               charset.compare("UTF-8", Qt::CaseInsensitive) != 0 &&
               charset.compare("UTF8", Qt::CaseInsensitive) != 0) {
        cause = QStringLiteral("the dictionary in %1 is in %2, not UTF-8")
                    .arg(dictionaryFolder, QString::fromLatin1(charset));
    } else {
        tagger->tagger.reset(tagger->model->createTagger());
        if (!tagger->tagger)
            cause = QString::fromLocal8Bit(MeCab::getLastError());
    }
    if (cause.isEmpty())
        m_tagger = std::move(tagger);
    else if (!QFileInfo::exists(dictionaryFolder + QStringLiteral("/sys.dic")))
        m_loadFailure = QStringLiteral("the Japanese dictionary is not installed: MeCab cannot load %1 (%2); it "
                                       "comes with the Debian package %3")
                            .arg(dictionaryFolder, cause, QStringLiteral(LIROBEL_JAPANESE_DICTIONARY_PACKAGE));
    else // installed, but damaged or made for another encoding: MeCab's own words say which
        m_loadFailure =
            QStringLiteral("MeCab cannot load the Japanese dictionary in %1: %2").arg(dictionaryFolder, cause);
}

KanjiReader::~KanjiReader() = default;

KanaReading KanjiReader::Read(QStringView text) const {
    if (KanjiCount(text) == 0)
        return {true, text.toString(), 0, {}};
    if (!m_tagger)
        return KanaReading::Failed(m_loadFailure);
    const std::unique_ptr<MeCab::Lattice> lattice(m_tagger->model->createLattice());
    LineScratch scratch;
    KanaReading result;
    result.text.reserve(text.size() + text.size() / 2);
    qsizetype start = 0;
    if (text.startsWith(u'\uFEFF')) { // a byte-order mark is kept, out of the words after it
        result.text += text.front();
        start = 1;
    }
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        if (!m_tagger->ReadLine(text.mid(start, end - start), *lattice, scratch, result.text, result.unreadKanji))
            return KanaReading::Failed(QStringLiteral("MeCab cannot read the lyrics: ") +
                                       QString::fromLocal8Bit(lattice->what()));
        if (end < text.size())
            result.text += text[end];
        start = end + 1;
    }
    return result;
}

QString InstalledDictionaryFolder() {
    const QString named = qEnvironmentVariable("LIROBEL_JAPANESE_DICTIONARY");
    return named.isEmpty() ? QStringLiteral(LIROBEL_JAPANESE_DICTIONARY) : named;
}

KanaReading KanjiToKana(QStringView text) {
    if (KanjiCount(text) == 0)
        return {true, text.toString(), 0, {}};
    static std::mutex loading;
    static std::shared_ptr<const KanjiReader> shared;
    static QString sharedFolder;
    std::shared_ptr<const KanjiReader> reader;
    {
        const std::lock_guard lock(loading);
        const QString folder = InstalledDictionaryFolder();
        if (!shared || !shared->LoadFailure().isEmpty() || folder != sharedFolder) {
            shared = std::make_shared<const KanjiReader>(folder);
            sharedFolder = folder;
        }
        reader = shared;
    }
    return reader->Read(text);
}

} // namespace lirobel::kana
