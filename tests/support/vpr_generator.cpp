// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/vpr_generator.h"

#include <algorithm>
#include <zlib.h>

namespace lirobel::test {

namespace {

constexpr const char* kLyrics[] = {"la", "ri", "mu", "ne", "so"};
constexpr const char* kPhonemes[] = {"l a", "4' i", "m M", "n e", "s o"};
constexpr char kVoice[] = R"("voice":{"compID":"BCNFCY43LB2LZCD4","langID":0})";
constexpr char kAudio5[] = "Project\\Audio\\0F6F1B2E-8C1D-4E5A-9D1F-3A2B4C5D6E7F.wav";
constexpr char kOtherAudio5[] = "Project\\Audio\\9A8B7C6D-5E4F-4321-8765-43210FEDCBA9.wav";
constexpr char kAudio6[] = "Project/Audio/1C2D3E4F-5A6B-4C7D-8E9F-0A1B2C3D4E5F.wav";

QByteArray Number(qint64 value) {
    return QByteArray::number(value);
}

QByteArray NoteJson(VprLayout layout, const VprNote& note, int index) {
    QByteArray json = "{\"lyric\":\"" + note.lyric + "\",\"phoneme\":\"" + note.phoneme + '"';
    if (layout == VprLayout::Version6)
        json += ",\"langID\":0";
    json += ",\"isProtected\":" + QByteArray(note.isProtected ? "true" : "false") + ",\"pos\":" + Number(index * 480) +
            ",\"duration\":479,\"number\":" + Number(60 + index % 12) + ",\"velocity\":64";
    if (note.opening)
        json += ",\"exp\":{\"opening\":" + Number(*note.opening) + '}';
    if (layout == VprLayout::Version5) {
        json += R"(,"singingSkill":{"duration":158,"weight":{"pre":64,"post":64}},"vibrato":{"type":0,"duration":0})";
        // Its isProtected is not the note's.
        if (index % 5 == 4)
            json +=
                R"(,"dvqm":{"attack":{"compID":"7C9A1E2B","code":"Attack01","speed":1.0,"level":0.5,"isProtected":false}})";
    } else {
        json += R"(,"aiExp":{"pitchFine":0.0,"pitchDriftStart":0.0,"pitchDriftEnd":0.0,"pitchScalingCenter":0.0})";
        if (note.phonemePositions)
            json += R"(,"phonemePositions":[{"pos":0},{"pos":61}])";
    }
    return json + '}';
}

QByteArray PartJson(VprLayout layout, const std::vector<VprNote>& notes, size_t from, size_t to, int part) {
    QByteArray json =
        "{\"pos\":" + Number(1920 + part * 7680) + ",\"duration\":7680,\"styleName\":\"No Effect\"," + kVoice;
    if (layout == VprLayout::Version6)
        json +=
            R"(,"aiVoice":{"compID":"AI0000000000001"},"stylePresetID":"5E4F3A2B","name":"part )" + Number(part) + '"';
    json +=
        R"(,"midiEffects":[{"id":"VoiceColor","isBypassed":true,"isFolded":false,"parameters":[{"name":"Air","value":0},{"name":"Breathiness","value":0.46666666865348818}]}],"notes":[)";
    for (size_t at = from; at < to; ++at)
        json += (at > from ? "," : "") + NoteJson(layout, notes[at], static_cast<int>(at));
    return json + "]}";
}

QByteArray TrackJson(int type, const QByteArray& name, const QByteArray& parts, bool hasParts = true) {
    QByteArray json =
        "{\"type\":" + Number(type) + ",\"name\":\"" + name +
        R"(","color":0,"busNo":0,"isFolded":false,"height":40.0,"volume":{"isFolded":true,"height":40.0,"events":[{"pos":0,"value":0}]},"isMuted":false,"isSoloMode":false)";
    return hasParts ? json + ",\"parts\":[" + parts + "]}" : json + '}';
}

QByteArray AudioParts(int count) {
    QByteArray parts;
    for (int part = 0; part < count; ++part)
        parts += QByteArray(part ? "," : "") + R"({"pos":)" + Number(part * 3840) +
                 R"(,"duration":3840,"wav":{"originalName":"take)" + Number(part) + R"(.wav","name":"take)" +
                 Number(part) + R"(.wav"}})";
    return parts;
}

QByteArray WavBytes(int seed) {
    QByteArray wav = "RIFF\x24\x10\x00\x00WAVEfmt ";
    for (int at = 0; at < 4096; ++at)
        wav += static_cast<char>((at * 37 + seed * 11) & 0xFF);
    return wav;
}

void Put16(QByteArray& out, quint32 value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(QByteArray& out, quint32 value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

quint32 Get16(const QByteArray& in, qsizetype at) {
    return static_cast<quint8>(in[at]) | static_cast<quint32>(static_cast<quint8>(in[at + 1])) << 8;
}

quint32 Get32(const QByteArray& in, qsizetype at) {
    return Get16(in, at) | Get16(in, at + 2) << 16;
}

// Deflate as the version-5 editor writes it: stored blocks only.
QByteArray StoredBlocks(const QByteArray& content) {
    QByteArray out;
    qsizetype at = 0;
    do {
        const qsizetype size = std::min<qsizetype>(content.size() - at, 0xFFFF);
        out += static_cast<char>(at + size == content.size() ? 1 : 0);
        Put16(out, static_cast<quint32>(size));
        Put16(out, static_cast<quint32>(~size & 0xFFFF));
        out += content.mid(at, size);
        at += size;
    } while (at < content.size());
    return out;
}

QByteArray Inflate(const QByteArray& data, qsizetype size) {
    QByteArray out(size, '\0');
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray("<not inflated>");
}

} // namespace

std::vector<VprNote> GenerateVprNotes(VprLayout layout, int count) {
    std::vector<VprNote> notes;
    for (int index = 0; index < count; ++index) {
        const bool held = index % 4 == 3;
        VprNote note;
        note.lyric = held ? "-" : kLyrics[index % 5];
        note.phoneme = held ? "-" : kPhonemes[index % 5];
        if (layout == VprLayout::Version5 || index % 2 == 0)
            note.opening = 127;
        note.phonemePositions = layout == VprLayout::Version6 && index % 3 == 0;
        notes.push_back(note);
    }
    return notes;
}

QByteArray GenerateSequence(VprLayout layout, const std::vector<VprNote>& notes, int singingParts) {
    const bool five = layout == VprLayout::Version5;
    QByteArray json =
        R"({"version":{"major":)" + QByteArray(five ? "5" : "6") +
        R"(,"minor":1,"revision":0},"vender":"Generator","title":"春の歌","masterTrack":{"samplingRate":44100,"tempo":{"isFolded":false,"height":0.0,"global":{"isEnabled":false,"value":12000},"events":[{"pos":0,"value":12000}]}},"voices":[{"compID":"BCNFCY43LB2LZCD4","name":"Voice"}],"tracks":[)";
    std::vector<QByteArray> parts;
    for (int part = 0; part < singingParts; ++part)
        parts.push_back(PartJson(layout, notes, notes.size() * part / singingParts,
                                 notes.size() * (part + 1) / singingParts, part));
    const size_t firstTrackParts = five ? parts.size() : (parts.size() + 1) / 2;
    QByteArray first;
    QByteArray rest;
    for (size_t part = 0; part < parts.size(); ++part) {
        QByteArray& into = part < firstTrackParts ? first : rest;
        into += (into.isEmpty() ? "" : ",") + parts[part];
    }
    json += TrackJson(0, "Track 1", first);
    if (five)
        json += "," + TrackJson(0, "Track 2", {}, false) + "," + TrackJson(1, "Audio", AudioParts(2));
    else
        json += "," + TrackJson(1, "Audio", AudioParts(1)) + "," + TrackJson(2, "AI", rest);
    return json + "]}";
}

QByteArray GenerateVpr(VprLayout layout, const QByteArray& sequence) {
    if (layout == VprLayout::Version5)
        return MakeZip({{"Project\\sequence.json", sequence}, {kAudio5, WavBytes(1)}, {kOtherAudio5, WavBytes(2)}});
    return MakeZip({{"Project/sequence.json", sequence, 0}, {"Project/Audio/", {}, 0}, {kAudio6, WavBytes(3), 0}});
}

QByteArray MakeZip(const std::vector<ZipEntry>& entries) {
    constexpr quint32 kTime = (12 << 11) | (30 << 5) | 5;
    constexpr quint32 kDate = ((2024 - 1980) << 9) | (5 << 5) | 1;
    QByteArray archive;
    QByteArray directory;
    for (const ZipEntry& entry : entries) {
        const QByteArray data = entry.method == 8 ? StoredBlocks(entry.content) : entry.content;
        const auto crc = static_cast<quint32>(
            crc32(0, reinterpret_cast<const Bytef*>(entry.content.data()), static_cast<uInt>(entry.content.size())));
        const bool folder = entry.name.endsWith('/');
        QByteArray fields; // from "version needed" to the name's length, alike in both headers
        Put16(fields, entry.method == 8 ? 20 : 10);
        Put16(fields, 0);
        Put16(fields, static_cast<quint32>(entry.method));
        Put16(fields, kTime);
        Put16(fields, kDate);
        Put32(fields, crc);
        Put32(fields, static_cast<quint32>(data.size()));
        Put32(fields, static_cast<quint32>(entry.content.size()));
        Put16(fields, static_cast<quint32>(entry.name.size()));
        Put16(fields, 0);
        const auto offset = static_cast<quint32>(archive.size());
        archive += "PK\x03\x04" + fields + entry.name + data;
        directory += "PK\x01\x02";
        Put16(directory, 20);
        directory += fields;
        Put16(directory, 0); // comment
        Put16(directory, 0); // disk
        Put16(directory, 0); // internal attributes
        Put32(directory, folder ? 0x10 : 0x20);
        Put32(directory, offset);
        directory += entry.name;
    }
    const auto directoryOffset = static_cast<quint32>(archive.size());
    archive += directory + "PK\x05\x06";
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<quint32>(entries.size()));
    Put16(archive, static_cast<quint32>(entries.size()));
    Put32(archive, static_cast<quint32>(directory.size()));
    Put32(archive, directoryOffset);
    Put16(archive, 0);
    return archive;
}

std::vector<ZipRecord> ZipRecords(const QByteArray& archive) {
    std::vector<ZipRecord> records;
    qsizetype at = 0;
    while (at + 30 <= archive.size() && archive.sliced(at).startsWith("PK\x03\x04")) {
        const qsizetype nameSize = Get16(archive, at + 26);
        const qsizetype dataStart = at + 30 + nameSize + Get16(archive, at + 28);
        const qsizetype end = dataStart + Get32(archive, at + 18);
        if (end > archive.size())
            break;
        ZipRecord record;
        record.name = archive.mid(at + 30, nameSize);
        record.method = static_cast<int>(Get16(archive, at + 8));
        record.record = archive.mid(at, end - at);
        const QByteArray data = archive.mid(dataStart, end - dataStart);
        record.content = record.method == 8 ? Inflate(data, Get32(archive, at + 22)) : data;
        records.push_back(record);
        at = end;
    }
    return records;
}

} // namespace lirobel::test
