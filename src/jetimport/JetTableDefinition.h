#pragma once

#include "jetimport/JetColumn.h"
#include "jetimport/JetPages.h"
#include "jetimport/JetText.h"

#include <QList>

namespace kpl {

// What a table definition declares: the table's columns in their order, the
// number of rows it holds and where the map of its data pages lies.
struct JetTableDefinition {
    QList<JetColumn> columns;
    qint64 declaredRowCount = 0;
    JetRowPointer usageMap;
};

// Reads the definition that starts on `page` (it may go on over further
// pages); column names are decoded with `names`. Fails when the definition
// is damaged: cut short, or with nameless, untyped or doubled columns.
JetTableDefinition readTableDefinition(const JetPages& pages, quint32 page,
                                       const JetTextDecoder& names);

} // namespace kpl
