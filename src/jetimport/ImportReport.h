#pragma once

#include "jetimport/JetToSqlite.h"

#include <QTextStream>

namespace kpl {

// One line per table: "  NAME: R read, W written", followed by
// "; the file declares D" where the file declares another number of rows;
// and where the system catalog declares another number of entries than it
// holds, a line that says so.
void printTableCounts(QTextStream& out, const ImportCounts& counts);

} // namespace kpl
