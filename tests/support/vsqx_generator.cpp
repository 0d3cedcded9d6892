// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/vsqx_generator.h"

#include "support/template_file.h"

#include <array>

namespace lirobel::test {

namespace {

constexpr std::array<const char16_t*, 8> kLyrics = {u"あ", u"い", u"う", u"え", u"お", u"か", u"さ", u"ら"};
constexpr std::array<const char*, 8> kPhonemes = {"a", "i", "M", "e", "o", "k a", "s a", "4 a"};
constexpr std::array<const char*, 6> kItems = {"J i", "h a o", "b' i j e n", "ts o N\\", "d' i n", "4 M j"};

} // namespace

QString NoteLyric(int note) {
    return QString::fromUtf16(kLyrics[static_cast<size_t>(note) % kLyrics.size()]);
}

QByteArray GenerateVsqx(const VsqxShape& shape) {
    static const QMap<QByteArray, QByteArrayList> kVersions[] = {
        ReadTemplate(QStringLiteral(LIROBEL_VSQX_TEMPLATES "/vsqx3.template")),
        ReadTemplate(QStringLiteral(LIROBEL_VSQX_TEMPLATES "/vsqx4.template"))};
    const auto& sections = kVersions[shape.version == 4 ? 1 : 0];
    const QByteArray lineEnd = shape.lineEnds == LineEnds::CrLf ? "\r\n" : shape.lineEnds == LineEnds::Lf ? "\n" : "";
    QMap<QByteArray, QByteArray> values;
    QByteArray text;
    const auto write = [&](const char* section) {
        for (const QByteArray& line : sections[section])
            text += Fill(line, values) + lineEnd;
    };
    write("");
    int note = 0;
    for (int track = 0; track < shape.tracks; ++track) {
        values["track"] = QByteArray::number(track);
        values["trackNumber"] = QByteArray::number(track + 1);
        write("track");
        for (int part = 0; part < shape.partsPerTrack; ++part) {
            values["partNumber"] = QByteArray::number(part + 1);
            write("part");
            for (int k = 0; k < shape.notesPerPart; ++k, ++note) {
                values["tick"] = QByteArray::number(k * 480);
                values["key"] = QByteArray::number(60 + note % 12);
                values["lyric"] = NoteLyric(note).toUtf8();
                values["phonemes"] = kPhonemes[static_cast<size_t>(note) % kPhonemes.size()];
                write("note");
            }
            write("partEnd");
        }
        write("trackEnd");
    }
    write("end");
    return text;
}

QString GeneratePhonetic(int items) {
    QString phonetic;
    for (int k = 0; k < items; ++k)
        phonetic += QString::fromLatin1(kItems[static_cast<size_t>(k) % kItems.size()]) +
                    (k % 3 == 2 ? QStringLiteral("[-OPE]|") : QStringLiteral("|"));
    return phonetic;
}

} // namespace lirobel::test
