#pragma once

#include "jetimport/JetColumn.h"
#include "jetimport/JetPages.h"

#include <QByteArray>
#include <QList>

namespace kpl {

// The definition of a Jet 4 table without indexes holding `rowCount` rows
// of `columns` (laid out by layOutJet4Columns), its maps at `usageMap` and
// `freeSpaceMap`: the header, one entry per column, the column names, and
// the end mark. The page header's free space and next page are left to
// jet4DefinitionPages.
QByteArray jet4TableDefinition(const QList<JetColumn>& columns, qint64 rowCount,
                               const JetRowPointer& usageMap, const JetRowPointer& freeSpaceMap);

// How many pages a definition of `size` bytes takes: the first page holds
// its start whole, each further page the next part after an 8-byte header.
int jet4DefinitionPageCount(qsizetype size);

// `definition` cut into the pages `numbers` (jet4DefinitionPageCount of
// them, the first the table's own page), each naming the next and stating
// its free space.
QList<QByteArray> jet4DefinitionPages(const QByteArray& definition, const QList<quint32>& numbers);

// The 4 bytes of a row pointer.
QByteArray jetRowPointerBytes(const JetRowPointer& pointer);

} // namespace kpl
