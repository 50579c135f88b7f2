#pragma once

#include "jetimport/JetToSqlite.h"

#include <QString>

namespace kpl {

// The file an import in place converts: `path` itself, or the file a
// symbolic link at `path` leads to, so that the link stays a link.
QString inPlaceTarget(const QString& path);

// Where the Jet file `path` is kept after an import in place: NAME.mdb.jet
// beside it.
QString jetBackupPath(const QString& path);

// Fails when the backup name of the file that `path` converts is taken: an
// import never overwrites a kept Jet file.
void requireNoJetBackup(const QString& path);

// Replaces the Jet file that `path` names (inPlaceTarget) by its import.
// The new database is written under a temporary name in the same folder;
// only when the whole import succeeded is the Jet file kept as its
// jetBackupPath (written to a temporary file, synced and renamed into place)
// and the new file renamed over it (it gets the Jet file's permissions).
// Every step is checked; on failure the Jet file is as it was and neither
// the temporary file nor a backup is left.
ImportCounts importInPlace(const QString& path);

// Fails when `newPath` is taken: an import into a new file overwrites
// nothing.
void requireNewFile(const QString& newPath);

// Writes the import of the Jet file `jetPath` to the new file `newPath`,
// which must not exist yet; the Jet file is not changed.
ImportCounts importToNewFile(const QString& jetPath, const QString& newPath);

} // namespace kpl
