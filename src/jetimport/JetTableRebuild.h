#pragma once

#include "core/platform/FileCalls.h"
#include "jetimport/JetColumn.h"
#include "jetimport/JetPageFile.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace kpl {

// Fails when the database engine has the Jet file at `path` open: its lock
// file (.ldb) lies beside it.
void refuseOpenJetFile(const QString& path);

// Rebuilds the table `name` of the Jet 4 file at `path` in place with
// `columns` (name, type, size and, for Decimal, precision and scale) and
// `rows` (values as encodeJet4Row takes them), and no indexes. The table
// keeps its definition page, and with it its catalog entry and the
// catalog's indexes, which are not touched; its definition, its two page
// maps and its data pages are written anew: its own old pages are taken
// first, then pages the file's global map marks free, then pages appended
// to the file; pages it no longer fills are cleared and marked free. In its
// catalog row the creation and update times and the stored properties are
// set to Null (validation rules, defaults and required flags of the old
// columns would otherwise hold for the new ones).
//
// Everything is read and checked before the first page is written. It is
// refused, with one message naming the file and the reason: a file that is
// no whole Jet 4 file or is encrypted, one with a lock file (.ldb) beside
// it (the database engine has it open), no table `name`, a table in a
// relationship or with indexes, page maps of a kind it does not write, a
// global map that would outgrow its page, a column type it does not store,
// a value that does not fit its column, a row too long.
//
// The file is rebuilt in memory and read back (every row as it was meant
// to be stored, the table's pages accounted for) before it replaces the
// file in one step (platform::replaceFile, through `calls`): whatever fails
// or ends the process on the way, the file stays as it was.
void rebuildJetTable(const QString& path, const QString& name, QList<JetColumn> columns,
                     const QList<QVariantList>& rows,
                     platform::FileCalls& calls = platform::systemFileCalls());
// The same on a file open for reading and writing, written where it is (no
// lock file looked for, failures not naming the file).
void rebuildJetTable(JetPageFile& file, const QString& name, QList<JetColumn> columns,
                     const QList<QVariantList>& rows);

} // namespace kpl
