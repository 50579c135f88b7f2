#pragma once

#include "jetimport/JetColumn.h"
#include "jetimport/JetPages.h"
#include "jetimport/JetText.h"

#include <QList>

namespace kpl {

// What a table definition declares: the table's columns in their order, the
// number of rows it holds and where the maps of its pages lie.
struct JetTableDefinition {
    QList<JetColumn> columns;
    qint64 declaredRowCount = 0;
    quint32 indexCount = 0;
    JetRowPointer usageMap;
    JetRowPointer freeSpaceMap; // the map of its pages that have room left
    QList<quint32> pages;       // the pages the definition itself takes, in order
};

// Reads the definition that starts on `page` (it may go on over further
// pages); column names are decoded with `names`. Fails when the definition
// is damaged: cut short, or with nameless, untyped or doubled columns.
JetTableDefinition readTableDefinition(const JetPages& pages, quint32 page,
                                       const JetTextDecoder& names);
// The same without the columns: the definition's pages, row and index
// counts and maps.
JetTableDefinition readTableMaps(const JetPages& pages, quint32 page);

} // namespace kpl
