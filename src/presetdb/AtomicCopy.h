#pragma once

#include <QString>

namespace kpl {

// Copies the file `source` over `target` so that a crash at any moment
// leaves either the old or the new target: the copy is written to a
// temporary file in the target's folder, synced to disk and then renamed
// over the target. The caller closes every database connection to either
// file first. Failures (a Failure with the runtime's number: 53 for a
// missing source, 75 otherwise) name the file concerned; no temporary file
// is left behind.
void copyFileAtomically(const QString& source, const QString& target);

} // namespace kpl
