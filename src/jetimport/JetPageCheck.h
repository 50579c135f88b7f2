#pragma once

#include "jetimport/JetPages.h"

#include <QList>
#include <QStringList>

namespace kpl {

// The page accounting of a Jet 4 file, which no reader looks at but the
// database engine trusts when it writes: a page in use that the global
// usage map (row 0 of page 1; a set bit means free) marks free is handed
// out again. For each table whose definition starts on one of
// `tableDefinitions`: every page reached from it (its definition pages,
// the pages holding its usage maps, their map pages, the pages its map
// marks as its own) is marked used, every data page among them names the
// table as its owner, and every data page's free space is what its rows
// leave. Returns what is wrong, one line each; none for a sound file.
// Fails only where a structure cannot be read at all.
QStringList checkJetPageAccounting(const JetPages& pages, const QList<quint32>& tableDefinitions);

} // namespace kpl
