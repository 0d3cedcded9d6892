// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vpr/pour_song.h"

#include "core/vpr/project_lyrics.h"
#include "core/vpr/rewrite_project.h"

namespace lirobel::vpr {

vsqx::PourOutcome PourPhoneticIntoSong(const QString& path, QStringView phonetic, vsqx::PourProgress& progress,
                                       vsqx::PourOptions options) {
    options.otherFormat = RewriteProject;
    options.otherLyrics = ReadProjectLyrics;
    return vsqx::PourPhoneticIntoFile(path, phonetic, progress, options);
}

} // namespace lirobel::vpr
