// SPDX-License-Identifier: GPL-3.0-or-later
// Tables of test cases kept in data files beside the tests, read when the tests run.
#pragma once

#include <QByteArrayList>
#include <QFile>
#include <QMap>
#include <QString>
#include <algorithm>
#include <cctype>
#include <ostream>
#include <vector>

namespace lirobel::test {

/// The rows of a case file, each a list of fields. One row a line, fields split by tabs; "\t", "\n", "\r",
/// "\\" and "\xHH" stand for their bytes. Empty lines and lines starting with '#' are skipped. A line
/// "=NAME<tab>VALUE" defines NAME, and "{NAME}" in later lines stands for its value, as do the names
/// given in defined; a brace around anything but letters, digits and '_' is itself, as in JSON. Stops the
/// test program when the file cannot be read or uses an unknown name.
inline std::vector<QByteArrayList> ReadCaseFile(const QString& path, QMap<QByteArray, QByteArray> defined = {}) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the case file %s", qPrintable(path));
    std::vector<QByteArrayList> rows;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QByteArrayList fields;
        for (const QByteArray& raw : line.split('\t')) {
            QByteArray field;
            for (qsizetype at = 0; at < raw.size(); ++at) {
                const char c = raw[at];
                const qsizetype end = c == '{' ? raw.indexOf('}', at) : -1;
                const QByteArray name = end > at ? raw.sliced(at + 1, end - at - 1) : QByteArray();
                const auto isNameByte = [](char n) { return std::isalnum(static_cast<unsigned char>(n)) || n == '_'; };
                if (!name.isEmpty() && std::all_of(name.begin(), name.end(), isNameByte)) {
                    if (!defined.contains(name))
                        qFatal("%s uses the undefined name %s", qPrintable(path), name.constData());
                    field += defined.value(name);
                    at += name.size() + 1;
                } else if (c != '\\' || at + 1 == raw.size()) {
                    field += c;
                } else if (const char e = raw[++at]; e == 'x') {
                    field += static_cast<char>(raw.mid(at + 1, 2).toInt(nullptr, 16));
                    at += 2;
                } else {
                    field += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
                }
            }
            fields << field;
        }
        if (line.startsWith('='))
            defined.insert(fields[0].sliced(1), fields.value(1));
        else
            rows.push_back(fields);
    }
    return rows;
}

} // namespace lirobel::test

/// Shows a row of a case file in a failure message by its first field, which names it.
inline void PrintTo(const QByteArrayList& row, std::ostream* out) {
    *out << row.value(0).toStdString();
}
