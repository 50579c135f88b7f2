#pragma once

#include "core/platform/AtomicWrite.h"

#include <QString>

namespace kpl {

// Copies the file `source` over `target` so that a crash at any moment
// leaves either the old or the new target (platform::copyFile): the copy is
// written beside the target, synced to disk, checked for the source's full
// size and renamed over the target. The caller closes every database
// connection to either file first. Failures (a Failure with the runtime's
// number: 53 for a missing source, 75 otherwise) name the file concerned and
// the system's reason; the target is then left as it was and no temporary
// file is left behind.
void copyFileAtomically(const QString& source, const QString& target,
                        platform::FileCalls& calls = platform::systemFileCalls());

} // namespace kpl
