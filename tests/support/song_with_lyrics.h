// SPDX-License-Identifier: GPL-3.0-or-later
// Generated songs of every format whose notes sing the lyrics a test gives them.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace lirobel::test {

enum class SongFormat { Vsqx3, Vsqx4, Vpr5, Vpr6 };

/// A song of the format in the generators' layout, its notes (in pour order) singing `lyrics`.
QByteArray SongWithLyrics(SongFormat format, const QStringList& lyrics);

} // namespace lirobel::test
