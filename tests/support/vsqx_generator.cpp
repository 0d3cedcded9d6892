// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/vsqx_generator.h"

#include <array>

namespace lirobel::test {

namespace {

constexpr std::array<const char16_t*, 8> kLyrics = {u"あ", u"い", u"う", u"え", u"お", u"か", u"さ", u"ら"};
constexpr std::array<const char*, 8> kPhonemes = {"a", "i", "M", "e", "o", "k a", "s a", "4 a"};
constexpr std::array<const char*, 6> kItems = {"J i", "h a o", "b' i j e n", "ts o N\\", "d' i n", "4 M j"};

// The tags of a version, where the two differ.
struct Tags {
    const char* root;
    const char* version;
    const char* voice[4]; // bank, program, id, name
    const char* outputDevice;
    const char* tempo;
    const char* trackNumber;
    const char* trackName;
    const char* part;
    const char* partStart;
    const char* partName;
    const char* note[6]; // start, length, number, velocity, lyric, phonemes
    const char* style;
    const char* attribute;
};

constexpr Tags kTags3{"vsq3",
                      "3.0.0.11",
                      {"vBS", "vPC", "compID", "vVoiceName"},
                      "outDev",
                      "<tempo><posTick>0</posTick><bpm>12000</bpm></tempo>",
                      "vsTrackNo",
                      "trackName",
                      "musicalPart",
                      "posTick",
                      "partName",
                      {"posTick", "durTick", "noteNum", "velocity", "lyric", "phnms"},
                      "noteStyle",
                      "attr"};
constexpr Tags kTags4{"vsq4",
                      "4.0.0.0",
                      {"bs", "pc", "id", "name"},
                      "oDev",
                      "<tempo><t>0</t><v>12000</v></tempo>",
                      "tNo",
                      "name",
                      "vsPart",
                      "t",
                      "name",
                      {"t", "dur", "n", "v", "y", "p"},
                      "nStyle",
                      "v"};

class Writer {
public:
    explicit Writer(LineEnds lineEnds)
        : m_lineEnd(lineEnds == LineEnds::CrLf ? "\r\n"
                    : lineEnds == LineEnds::Lf ? "\n"
                                               : "") {}

    void Line(int depth, const QString& text) { m_text += QByteArray(depth, '\t') + text.toUtf8() + m_lineEnd; }
    void Line(int depth, const char* text) { Line(depth, QString::fromUtf8(text)); }
    void Data(int depth, const char* tag, const QString& value) {
        Line(depth, QStringLiteral("<%1><![CDATA[%2]]></%1>").arg(QLatin1StringView(tag), value));
    }
    void Value(int depth, const char* tag, int value) {
        Line(depth, QStringLiteral("<%1>%2</%1>").arg(QLatin1StringView(tag)).arg(value));
    }
    void Attributes(int depth, const char* tag, std::initializer_list<std::pair<const char*, int>> attributes) {
        for (const auto& [id, value] : attributes)
            Line(depth,
                 QStringLiteral("<%1 id=\"%2\">%3</%1>").arg(QLatin1StringView(tag), QLatin1StringView(id)).arg(value));
    }
    QByteArray Text() const { return m_text; }

private:
    QByteArray m_lineEnd;
    QByteArray m_text;
};

void WriteHeader(Writer& out, const Tags& tags) {
    const QString root = QString::fromLatin1(tags.root);
    out.Line(0, R"(<?xml version="1.0" encoding="UTF-8" standalone="no"?>)");
    out.Line(0, QStringLiteral(R"(<%1 xmlns="http://www.example.org/sequencer/schema/%1/")").arg(root));
    out.Line(0, R"(      xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")");
    out.Line(
        0,
        QStringLiteral(R"(      xsi:schemaLocation="http://www.example.org/sequencer/schema/%1/ %1.xsd">)").arg(root));
    out.Line(1, "<vender><![CDATA[Yamaha corporation]]></vender>");
    out.Data(1, "version", QString::fromLatin1(tags.version));
    out.Line(1, "<vVoiceTable>");
    out.Line(2, "<vVoice>");
    out.Value(3, tags.voice[0], 0);
    out.Value(3, tags.voice[1], 0);
    out.Data(3, tags.voice[2], QStringLiteral("LIROBEL0TESTVOICE"));
    out.Data(3, tags.voice[3], QStringLiteral("Test Singer"));
    out.Line(2, "</vVoice>");
    out.Line(1, "</vVoiceTable>");
    out.Line(1, "<mixer>");
    out.Line(2, "<masterUnit>");
    out.Value(3, tags.outputDevice, 0);
    out.Value(3, "vol", 0);
    out.Line(2, "</masterUnit>");
    out.Line(1, "</mixer>");
    out.Line(1, "<masterTrack>");
    out.Data(2, "seqName", QStringLiteral("Untitled"));
    out.Value(2, "resolution", 480);
    out.Value(2, "preMeasure", 4);
    out.Line(2, tags.tempo);
    out.Line(1, "</masterTrack>");
}

void WriteNote(Writer& out, const Tags& tags, int note, int tick) {
    out.Line(3, "<note>");
    out.Value(4, tags.note[0], tick);
    out.Value(4, tags.note[1], 480);
    out.Value(4, tags.note[2], 60 + note % 12);
    out.Value(4, tags.note[3], 64);
    out.Data(4, tags.note[4], NoteLyric(note));
    out.Data(4, tags.note[5], NotePhonemes(note));
    out.Line(4, QStringLiteral("<%1>").arg(QLatin1StringView(tags.style)));
    out.Attributes(5, tags.attribute,
                   {{"accent", 50},
                    {"bendDep", 8},
                    {"bendLen", 0},
                    {"decay", 50},
                    {"fallPort", 0},
                    {"opening", 127},
                    {"risePort", 0},
                    {"vibLen", 0},
                    {"vibType", 0}});
    if (&tags == &kTags3)
        out.Line(5, "<seqAttr id=\"vibDep\"></seqAttr>");
    out.Line(4, QStringLiteral("</%1>").arg(QLatin1StringView(tags.style)));
    out.Line(3, "</note>");
}

} // namespace

QString NoteLyric(int note) {
    return QString::fromUtf16(kLyrics[static_cast<size_t>(note) % kLyrics.size()]);
}

QString NotePhonemes(int note) {
    return QString::fromLatin1(kPhonemes[static_cast<size_t>(note) % kPhonemes.size()]);
}

QByteArray GenerateVsqx(const VsqxShape& shape) {
    const Tags& tags = shape.version == 4 ? kTags4 : kTags3;
    Writer out(shape.lineEnds);
    WriteHeader(out, tags);
    int note = 0;
    for (int track = 0; track < shape.tracks; ++track) {
        out.Line(1, "<vsTrack>");
        out.Value(2, tags.trackNumber, track);
        out.Data(2, tags.trackName, QStringLiteral("Track %1").arg(track + 1));
        for (int part = 0; part < shape.partsPerTrack; ++part) {
            out.Line(2, QStringLiteral("<%1>").arg(QLatin1StringView(tags.part)));
            out.Value(3, tags.partStart, 7680);
            out.Data(3, tags.partName, QStringLiteral("Part %1").arg(part + 1));
            for (int k = 0; k < shape.notesPerPart; ++k, ++note)
                WriteNote(out, tags, note, k * 480);
            out.Line(2, QStringLiteral("</%1>").arg(QLatin1StringView(tags.part)));
        }
        out.Line(1, "</vsTrack>");
    }
    out.Line(0, QStringLiteral("</%1>").arg(QLatin1StringView(tags.root)));
    return out.Text();
}

QString GeneratePhonetic(int items) {
    QString phonetic;
    for (int k = 0; k < items; ++k)
        phonetic += QString::fromLatin1(kItems[static_cast<size_t>(k) % kItems.size()]) +
                    (k % 3 == 2 ? QStringLiteral("[-OPE]|") : QStringLiteral("|"));
    return phonetic;
}

} // namespace lirobel::test
