#pragma once

#include "jetimport/JetColumn.h"
#include "jetimport/JetPageFile.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace kpl {

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
// The file is written where it is: callers work on a copy.
void rebuildJetTable(const QString& path, const QString& name, QList<JetColumn> columns,
                     const QList<QVariantList>& rows);
// The same on a file already open for reading and writing (no lock file
// looked for, failures not naming it).
void rebuildJetTable(JetPageFile& file, const QString& name, QList<JetColumn> columns,
                     const QList<QVariantList>& rows);

} // namespace kpl
