#pragma once

#include "database/Field.h"
#include "database/TableDef.h"
#include "jetimport/JetColumn.h"

#include <QList>
#include <QString>

namespace kpl {

// The name of a Jet column type as Access shows it ("Text", "Yes/No" ...).
QString jetTypeName(int jetType);

// The column of the database layer a Jet column becomes: Text with its
// length in characters, Memo, Byte, Integer as Short, Long, Single, Double,
// Currency, Decimal with its precision and scale, Date/Time, Yes/No as
// Boolean, OLE and Binary as Binary, and a Replication ID as Text(38) in its
// "{...}" form. The size is the one the layer reports for the declared type
// when it reads the definition back. Fails, naming table and column, for a
// type that is not carried over (the attachment and multi-value types of
// later formats).
Field importedField(const QString& table, const JetColumn& column, bool jet4);

// The definition of the new table: every column of `columns` in order.
TableDef importedTableDef(const QString& table, const QList<JetColumn>& columns, bool jet4);

} // namespace kpl
