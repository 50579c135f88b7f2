#pragma once

#include "core/Failure.h"
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
// file is left behind, except after CopyNotSynced.
void copyFileAtomically(const QString& source, const QString& target,
                        platform::FileCalls& calls = platform::systemFileCalls());

// The failure of a copy that was put in place but whose folder could not be
// synced afterwards: the target holds the new content, which may not outlive
// a crash of the system.
struct CopyNotSynced : Failure {};

// "Path/File access error: <path> was written, but its folder could not be
// synced (<reason>)": the description of such a failure.
QString notSyncedDescription(const QString& path, const QString& reason);

} // namespace kpl
