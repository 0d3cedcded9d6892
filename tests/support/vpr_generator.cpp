// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/vpr_generator.h"

#include "support/template_file.h"

#include <algorithm>
#include <zlib.h>

namespace lirobel::test {

namespace {

constexpr const char* kLyrics[] = {"la", "ri", "mu", "ne", "so"};
constexpr const char* kPhonemes[] = {"l a", "4' i", "m M", "n e", "s o"};
constexpr char kAudio5[] = "Project\\Audio\\0F6F1B2E-8C1D-4E5A-9D1F-3A2B4C5D6E7F.wav";
constexpr char kOtherAudio5[] = "Project\\Audio\\9A8B7C6D-5E4F-4321-8765-43210FEDCBA9.wav";
constexpr char kAudio6[] = "Project/Audio/1C2D3E4F-5A6B-4C7D-8E9F-0A1B2C3D4E5F.wav";

QByteArray WavBytes(int seed) {
    QByteArray wav = "RIFF\x24\x10\x00\x00WAVEfmt ";
    for (int at = 0; at < 4096; ++at)
        wav += static_cast<char>((at * 37 + seed * 11) & 0xFF);
    return wav;
}

// Appends each value as little-endian bytes, as many as paired with it.
void Put(QByteArray& out, std::initializer_list<std::pair<int, qsizetype>> values) {
    for (const auto& [bytes, value] : values) {
        for (int at = 0; at < bytes; ++at)
            out += static_cast<char>(value >> (8 * at) & 0xFF);
    }
}

qsizetype Get(const QByteArray& in, qsizetype at, int bytes) {
    qsizetype value = 0;
    for (int k = bytes - 1; k >= 0; --k)
        value = value << 8 | static_cast<quint8>(in[at + k]);
    return value;
}

// Deflate as the version-5 editor writes it: stored blocks only.
QByteArray StoredBlocks(const QByteArray& content) {
    QByteArray out;
    qsizetype at = 0;
    do {
        const qsizetype size = std::min<qsizetype>(content.size() - at, 0xFFFF);
        out += static_cast<char>(at + size == content.size() ? 1 : 0);
        Put(out, {{2, size}, {2, ~size}});
        out += content.mid(at, size);
        at += size;
    } while (at < content.size());
    return out;
}

// Deflates the data at the best level, or inflates it to `size` bytes, all at once and raw, as a ZIP
// entry holds it.
QByteArray Flate(bool deflating, const QByteArray& data, qsizetype size) {
    QByteArray out(size, '\0');
    z_stream stream{};
    deflating ? deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY)
              : inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflating ? deflate(&stream, Z_FINISH) : inflate(&stream, Z_FINISH);
    deflating ? deflateEnd(&stream) : inflateEnd(&stream);
    out.truncate(static_cast<qsizetype>(stream.total_out));
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
    static const QMap<QByteArray, QByteArrayList> kLayouts[] = {
        ReadTemplate(QStringLiteral(LIROBEL_VSQX_TEMPLATES "/vpr5.template")),
        ReadTemplate(QStringLiteral(LIROBEL_VSQX_TEMPLATES "/vpr6.template"))};
    const bool five = layout == VprLayout::Version5;
    const auto& sections = kLayouts[five ? 0 : 1];
    const auto section = [&sections](const char* name) { return sections[name].join(); };
    const auto number = [](int value) { return QByteArray::number(value); };
    QByteArray tracks[2]; // the first singing track's parts, and the AI track's
    for (int part = 0; part < singingParts; ++part) {
        QByteArray json;
        for (size_t at = notes.size() * part / singingParts; at < notes.size() * (part + 1) / singingParts; ++at) {
            const VprNote& note = notes[at];
            const int index = static_cast<int>(at);
            const bool extra = five ? index % 5 == 4 : note.phonemePositions;
            json +=
                (json.isEmpty() ? "" : ",") +
                Fill(section("note"),
                     {{"lyric", note.lyric},
                      {"phoneme", note.phoneme},
                      {"protected", note.isProtected ? "true" : "false"},
                      {"pos", number(index * 480)},
                      {"number", number(60 + index % 12)},
                      {"exp", note.opening ? Fill(section("exp"), {{"opening", number(*note.opening)}}) : QByteArray()},
                      {"extra", extra ? section("extra") : QByteArray()}});
        }
        QByteArray& track = tracks[five || part < (singingParts + 1) / 2 ? 0 : 1];
        track += (track.isEmpty() ? "" : ",") +
                 Fill(section("part"), {{"notes", json}, {"part", number(part)}, {"pos", number(1920 + part * 7680)}});
    }
    return Fill(section(""), {{"first", tracks[0]}, {"rest", tracks[1]}});
}

QByteArray GenerateVpr(VprLayout layout, const QByteArray& sequence) {
    if (layout == VprLayout::Version5)
        return MakeZip({{"Project\\sequence.json", sequence}, {kAudio5, WavBytes(1)}, {kOtherAudio5, WavBytes(2)}});
    return MakeZip({{"Project/sequence.json", sequence, 0}, {"Project/Audio/", {}, 0}, {kAudio6, WavBytes(3), 0}});
}

QByteArray GenerateVpr(VprLayout layout, int count) {
    return GenerateVpr(layout, GenerateSequence(layout, GenerateVprNotes(layout, count)));
}

QByteArray MakeZip(const std::vector<ZipEntry>& entries) {
    constexpr qsizetype kTime = (12 << 11) | (30 << 5) | 5;
    constexpr qsizetype kDate = ((2024 - 1980) << 9) | (5 << 5) | 1;
    QByteArray archive;
    QByteArray directory;
    for (const ZipEntry& entry : entries) {
        const QByteArray data = entry.method != 8  ? entry.content
                                : entry.compressed ? Flate(true, entry.content, entry.content.size() + 1024)
                                                   : StoredBlocks(entry.content);
        const auto crc = static_cast<qsizetype>(
            crc32(0, reinterpret_cast<const Bytef*>(entry.content.data()), static_cast<uInt>(entry.content.size())));
        QByteArray fields; // from "version needed" to the name's length, alike in both headers
        Put(fields, {{2, entry.method == 8 ? 20 : 10},
                     {2, entry.compressed ? 2 : 0}, // the flag of the best level
                     {2, entry.method},
                     {2, kTime},
                     {2, kDate},
                     {4, crc},
                     {4, data.size()},
                     {4, entry.content.size()},
                     {2, entry.name.size()},
                     {2, 0}});
        const qsizetype offset = archive.size();
        archive += "PK\x03\x04" + fields + entry.name + data;
        directory += "PK\x01\x02";
        Put(directory, {{2, 20}});
        directory += fields;
        // no comment, disk 0, no internal attributes; the folder or archive flag; where the entry lies
        Put(directory, {{2, 0}, {2, 0}, {2, 0}, {4, entry.name.endsWith('/') ? 0x10 : 0x20}, {4, offset}});
        directory += entry.name;
    }
    const qsizetype directoryOffset = archive.size();
    archive += directory + "PK\x05\x06";
    const auto count = static_cast<qsizetype>(entries.size());
    Put(archive, {{2, 0}, {2, 0}, {2, count}, {2, count}, {4, directory.size()}, {4, directoryOffset}, {2, 0}});
    return archive;
}

std::vector<ZipRecord> ZipRecords(const QByteArray& archive) {
    std::vector<ZipRecord> records;
    qsizetype at = 0;
    while (at + 30 <= archive.size() && archive.sliced(at).startsWith("PK\x03\x04")) {
        const qsizetype nameSize = Get(archive, at + 26, 2);
        const qsizetype dataStart = at + 30 + nameSize + Get(archive, at + 28, 2);
        const qsizetype end = dataStart + Get(archive, at + 18, 4);
        if (end > archive.size())
            break;
        ZipRecord record;
        record.name = archive.mid(at + 30, nameSize);
        record.method = static_cast<int>(Get(archive, at + 8, 2));
        record.record = archive.mid(at, end - at);
        const QByteArray data = archive.mid(dataStart, end - dataStart);
        record.content = record.method == 8 ? Flate(false, data, Get(archive, at + 22, 4)) : data;
        records.push_back(record);
        at = end;
    }
    return records;
}

} // namespace lirobel::test
