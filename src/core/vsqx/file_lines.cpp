// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/file_lines.h"

#include "core/vsqx/byte_scan_p.h"
#include "core/vsqx/pour_progress.h"

#include <cstring>

namespace lirobel::vsqx {

namespace {

// Where the line that starts at `start` ends, and where the next one starts.
struct LineEnd {
    qsizetype end;
    qsizetype next;
};

LineEnd FindLineEnd(QByteArrayView bytes, qsizetype start) {
    const qsizetype cr = bytes.indexOf('\r', start);
    if (cr < 0)
        return {bytes.size(), bytes.size()};
    return {cr, cr + 1 < bytes.size() && bytes[cr + 1] == '\n' ? cr + 2 : cr + 1};
}

} // namespace

qsizetype CountFileLines(QByteArrayView fileBytes, qsizetype atMost) {
    // Every CR ends exactly one line, whether an LF follows or not.
    const qsizetype lineEnds = bytescan::Count(fileBytes.begin(), fileBytes.end(), '\r', atMost);
    if (lineEnds >= atMost)
        return atMost;
    const bool endsWithLineEnd = fileBytes.endsWith('\r') || fileBytes.endsWith("\r\n");
    return lineEnds + (fileBytes.isEmpty() || endsWithLineEnd ? 0 : 1);
}

QByteArrayView FileLine(QByteArrayView fileBytes, qsizetype number) {
    qsizetype start = 0;
    for (qsizetype line = 1; start < fileBytes.size(); ++line) {
        const LineEnd lineEnd = FindLineEnd(fileBytes, start);
        if (line == number)
            return fileBytes.sliced(start, lineEnd.end - start);
        start = lineEnd.next;
    }
    return {};
}

qsizetype JoinFileLines(QByteArray& bytes, const std::function<void(qsizetype linesDone)>& linesDone) {
    const bool endsWithLineEnd = bytes.endsWith('\r') || bytes.endsWith("\r\n");
    // One pass, forward: the joined text never overtakes what is still to be read.
    char* out = bytes.data();
    const char* in = out;
    const char* const end = in + bytes.size();
    qsizetype lineEnds = 0;
    const char* nextReport = in + kYieldBytes;
    const auto passLineEnd = [&] {
        in += in + 1 < end && in[1] == '\n' ? 2 : 1;
        ++lineEnds;
        if (linesDone && in >= nextReport) {
            linesDone(lineEnds);
            nextReport = in + kYieldBytes;
        }
    };
    while (end - in >= bytescan::kBlock) {
        const bytescan::Block block = bytescan::Load(in);
        const bytescan::Marks crs = bytescan::Equal(block, '\r');
        // A whole block stored may reach past the next line end: only once the joined text lags far enough
        // behind does that never touch a byte not yet read.
        const bool roomForBlock = in - out >= bytescan::kBlock;
        if (!crs || roomForBlock)
            bytescan::Store(out, block);
        if (!crs) {
            out += bytescan::kBlock;
            in += bytescan::kBlock;
            continue;
        }
        const int before = bytescan::First(crs);
        if (roomForBlock) {
            out += before;
            in += before;
        } else {
            for (const char* const lineEnd = in + before; in < lineEnd;)
                *out++ = *in++;
        }
        passLineEnd();
    }
    while (in < end) {
        if (*in == '\r')
            passLineEnd();
        else
            *out++ = *in++;
    }
    const qsizetype lines = lineEnds + (bytes.isEmpty() || endsWithLineEnd ? 0 : 1);
    bytes.truncate(out - bytes.data());
    return lines;
}

} // namespace lirobel::vsqx
