#pragma once

#include "jetimport/JetToSqlite.h"

#include <QList>
#include <QTextStream>

namespace kpl {

// One line per table: "  NAME: R read, W written".
void printTableCounts(QTextStream& out, const QList<TableCount>& counts);

} // namespace kpl
