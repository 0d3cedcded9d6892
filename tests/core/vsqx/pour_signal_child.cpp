// SPDX-License-Identifier: GPL-3.0-or-later
// A pour for a test to end by a signal: pour_signal_child SONG [SIGNAL-TO-IGNORE]. Exits 0 when the pour
// completed, 1 when it did not.
#include "core/files/replace_file.h"
#include "core/vsqx/pour_run.h"

#include <csignal>
#include <cstdlib>

int main(int argc, char** argv) {
    using namespace lirobel::vsqx;
    if (argc < 2)
        return 2;
    if (argc > 2)
        std::signal(std::atoi(argv[2]), SIG_IGN);
    lirobel::files::RemoveUnfinishedFilesOnSignals();
    PourProgress quiet;
    return PourPhoneticIntoFile(QString::fromLocal8Bit(argv[1]), u"J i|", quiet).kind == PourOutcome::Kind::Completed
               ? 0
               : 1;
}
