// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vsqx/file_lines.h"

#include "core/vsqx/pour_progress.h"

#include <algorithm>
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

qsizetype CountFileLines(QByteArrayView fileBytes) {
    // Every CR ends exactly one line, whether an LF follows or not.
    const qsizetype lineEnds = std::count(fileBytes.begin(), fileBytes.end(), '\r');
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
    char* data = bytes.data();
    qsizetype written = 0;
    qsizetype lines = 0;
    qsizetype nextReport = kYieldBytes;
    for (qsizetype start = 0; start < bytes.size();) {
        const LineEnd lineEnd = FindLineEnd(bytes, start);
        std::memmove(data + written, data + start, static_cast<size_t>(lineEnd.end - start));
        written += lineEnd.end - start;
        ++lines;
        start = lineEnd.next;
        if (linesDone && start >= nextReport) {
            linesDone(lines);
            nextReport = start + kYieldBytes;
        }
    }
    bytes.truncate(written);
    return lines;
}

} // namespace lirobel::vsqx
