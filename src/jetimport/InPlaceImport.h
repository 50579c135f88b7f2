#pragma once

#include "jetimport/JetToSqlite.h"

#include <QList>
#include <QString>

namespace kpl {

// Where the Jet file `path` is kept after an import in place: NAME.mdb.jet.
QString jetBackupPath(const QString& path);

// Fails when the backup name of `path` is taken: an import never overwrites
// a kept Jet file.
void requireNoJetBackup(const QString& path);

// Replaces the Jet file `path` by its import. The new database is written
// under a temporary name in the same folder; only when the whole import
// succeeded is the Jet file kept as jetBackupPath(path) and the new file
// renamed over `path` (it gets the Jet file's permissions). On failure
// `path` is as it was and neither the temporary file nor a backup is left.
QList<TableCount> importInPlace(const QString& path);

// Writes the import of the Jet file `jetPath` to the new file `newPath`,
// which must not exist yet; the Jet file is not changed.
QList<TableCount> importToNewFile(const QString& jetPath, const QString& newPath);

} // namespace kpl
