// SPDX-License-Identifier: GPL-3.0-or-later
// Templates of the files that the test generators write: literal bytes with names to fill in.
#pragma once

#include <QByteArrayList>
#include <QFile>
#include <QMap>
#include <QString>

namespace lirobel::test {

/// The sections of a template file, each a list of lines, by name: a line "@NAME" begins a section, the
/// lines before the first one are the section "", and lines starting with '#' are left out. Stops the test
/// program when the file cannot be read.
inline QMap<QByteArray, QByteArrayList> ReadTemplate(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QMap<QByteArray, QByteArrayList> sections;
    QByteArray section;
    for (const QByteArray& line : file.readAll().chopped(1).split('\n')) {
        if (line.startsWith('@'))
            section = line.sliced(1);
        else if (!line.startsWith('#'))
            sections[section] << line;
    }
    return sections;
}

/// The text with "{NAME}" replaced by the value of NAME, for each name given.
inline QByteArray Fill(QByteArray text, const QMap<QByteArray, QByteArray>& values) {
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        text.replace('{' + value.key() + '}', value.value());
    return text;
}

} // namespace lirobel::test
