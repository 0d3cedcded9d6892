// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/items_from_lyrics.h"

#include "core/phonetic/phonetic_table.h"
#include "core/pinyin/chinese_to_pinyin.h"
#include "core/pinyin/chinese_words_to_pinyin.h"

namespace lirobel::vsqx {

namespace {

bool IsHanzi(char32_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

QStringList Syllables(const QString& pinyin) {
    QStringList syllables = pinyin.split(u',');
    syllables.removeLast(); // what follows the last comma
    return syllables;
}

// The readings of the characters by words, one for each, or nothing when the reader did not give exactly
// one syllable a character (a character it cannot read leaves no trace).
std::optional<QStringList> ReadTogether(const QString& characters, int count) {
    QStringList syllables = Syllables(pinyin::ChineseWordsToPinYin(characters));
    if (syllables.size() != count)
        return std::nullopt;
    return syllables;
}

// Reads each part's hanzi together; where a part's syllables do not line up with its characters, reads
// that part a character at a time, so that an unreadable one costs only its own note.
void ReadByWords(const QList<NoteLyric>& notes, const QList<QString>& hanzi, QList<NoteItem>& items) {
    for (qsizetype first = 0; first < notes.size();) {
        qsizetype end = first;
        QString characters;
        int count = 0;
        const NotePlace& place = notes[first].place;
        for (; end < notes.size() && notes[end].place.track == place.track && notes[end].place.part == place.part;
             ++end) {
            if (!hanzi[end].isEmpty())
                characters += hanzi[end], ++count;
        }
        std::optional<QStringList> together = ReadTogether(characters, count);
        qsizetype next = 0;
        for (qsizetype k = first; k < end; ++k) {
            if (hanzi[k].isEmpty())
                continue;
            if (together)
                items[k].syllable = together->at(next++);
            else if (const QStringList alone = Syllables(pinyin::ChineseWordsToPinYin(hanzi[k])); alone.size() == 1)
                items[k].syllable = alone.front();
        }
        first = end;
    }
}

} // namespace

QString SingleHanzi(const QString& lyric) {
    const QString trimmed = lyric.trimmed();
    const QList<uint> characters = trimmed.toUcs4();
    return characters.size() == 1 && IsHanzi(characters.front()) ? trimmed : QString();
}

SongItems ItemsFromLyrics(const QList<NoteLyric>& notes, bool byWords) {
    SongItems song;
    if (byWords) {
        if (song.problem = pinyin::WordReadingProblem(); !song.problem.isEmpty())
            return song;
    }
    QList<QString> hanzi;
    hanzi.reserve(notes.size());
    song.notes.resize(notes.size());
    for (qsizetype k = 0; k < notes.size(); ++k) {
        hanzi.append(notes[k].held ? QString() : SingleHanzi(notes[k].lyric));
        if (!byWords && !hanzi[k].isEmpty()) {
            const QStringList syllable = Syllables(pinyin::ChineseToPinYin(hanzi[k]));
            if (syllable.size() == 1)
                song.notes[k].syllable = syllable.front();
        }
    }
    if (byWords)
        ReadByWords(notes, hanzi, song.notes);
    NoteItemCounts& counts = song.counts;
    for (qsizetype k = 0; k < notes.size(); ++k) {
        NoteItem& note = song.notes[k];
        if (notes[k].held) {
            note.kind = NoteItem::Kind::Held, ++counts.held;
        } else if (hanzi[k].isEmpty()) {
            note.kind = NoteItem::Kind::NotHanzi, ++counts.notHanzi;
        } else if (note.syllable.isEmpty()) {
            note.kind = NoteItem::Kind::NoReading, ++counts.noReading;
        } else if (const std::optional<std::string_view> item = phonetic::LookUpPhonetic(note.syllable)) {
            note.kind = NoteItem::Kind::Item, ++counts.items;
            note.item = QString::fromLatin1(item->data(), static_cast<qsizetype>(item->size()));
        } else {
            note.kind = NoteItem::Kind::NoPhonetic, ++counts.noPhonetic;
        }
    }
    return song;
}

QString NoteItemText(const NoteItem& note) {
    switch (note.kind) {
    case NoteItem::Kind::Item:
        return note.item;
    case NoteItem::Kind::Held:
        return QStringLiteral("(held)");
    case NoteItem::Kind::NotHanzi:
        return QStringLiteral("(not one hanzi)");
    case NoteItem::Kind::NoReading:
        return QStringLiteral("(no reading)");
    case NoteItem::Kind::NoPhonetic:
        return QStringLiteral("(no phonetic item for '%1')").arg(note.syllable);
    }
    return {};
}

} // namespace lirobel::vsqx
