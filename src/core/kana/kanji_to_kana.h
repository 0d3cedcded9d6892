// SPDX-License-Identifier: GPL-3.0-or-later
// Kanji in Japanese lyrics to their readings in hiragana, so that the kana converter can sing them.
#pragma once

#include <QString>
#include <QStringView>
#include <memory>

namespace lirobel::kana {

/// Lyrics with their kanji read, or the reason why no kanji could be read.
struct KanaReading {
    bool succeeded = true;
    QString text;              ///< the lyrics with every kanji word in hiragana, when succeeded
    qsizetype unreadKanji = 0; ///< kanji that the dictionary could not read, left as written
    QString failure;           ///< why the dictionary could not be used, when not

    static KanaReading Failed(QString reason) { return {false, {}, 0, std::move(reason)}; }
};

/// The folder of the Japanese dictionary that KanjiToKana loads: the environment variable
/// LIROBEL_JAPANESE_DICTIONARY when set, else the Debian package's folder chosen at build time.
QString InstalledDictionaryFolder();

/// A MeCab tagger on one dictionary folder, loaded at construction. Reading is safe from any thread.
class KanjiReader {
public:
    explicit KanjiReader(const QString& dictionaryFolder);
    ~KanjiReader();
    KanjiReader(const KanjiReader&) = delete;
    KanjiReader& operator=(const KanjiReader&) = delete;

    /// Empty when the dictionary is loaded; else "the Japanese dictionary is not installed: " and the cause
    /// when the folder holds no dictionary, or MeCab's own message on the one it holds.
    const QString& LoadFailure() const { return m_loadFailure; }

    /// Every word that MeCab finds holding kanji becomes the hiragana of its reading; kana written on its
    /// edges (the ん of 呼ん) stay as written, as does every character outside such words. A run of kanji
    /// followed by a bracketed reading of kana only, 運命(さだめ) or 未来（あした）, becomes that reading, and
    /// the rest of the line is read as if the reading stood there in the first place. Kanji left as
    /// written are counted. A leading byte-order mark stays. Text without kanji comes back as it is, even
    /// when the dictionary is not loaded. Fails with MeCab's message when MeCab cannot parse the text.
    KanaReading Read(QStringView text) const;

private:
    struct Tagger;
    std::unique_ptr<Tagger> m_tagger;
    QString m_loadFailure;
};

/// KanjiReader::Read with one reader on InstalledDictionaryFolder(), loaded at the first call that needs
/// it and kept while that folder stays the same; a failed load is tried again at the next call.
KanaReading KanjiToKana(QStringView text);

} // namespace lirobel::kana
