#pragma once

#include "LayerOnly.h"
#include "database/Field.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace kpl {

class Connection;
class Statement;

// What a recordset delivers, as loaded when it is opened. An editable
// recordset keeps the rowids of its rows and reads each row when it becomes
// current; a read-only one keeps the values of all its rows.
struct RecordsetData {
    QList<Field> fields;
    QString table;            // the table edits go to; "" when read-only
    QStringList tableColumns; // per field, the table column it shows
    std::vector<qint64> rowids;
    std::vector<QVariantList> rows;
};

// The cells of the current result row of `query`, one per field, from the
// column `firstColumn` on. A text cell equal to the one of the `previous`
// row (read the same way) shares its string.
QVariantList readRow(const Statement& query, const QList<Field>& fields, int firstColumn,
                     const QVariantList* previous);

// A table's rows in rowid order, which is the order they were added in.
RecordsetData loadTable(Connection& connection, const QString& storedTableName);

// The rows a SELECT statement delivers with `parameters` bound ("?" by
// position, ":name" in the order of first appearance). The result is editable
// when it is a plain "SELECT <columns of one table> FROM <that table> ...":
// the rowid is then selected in front of the caller's columns. Joins,
// DISTINCT, compound statements and computed columns give a read-only result.
// With ReadOnly the result is read-only whatever the statement.
enum class StatementRows { EditableWherePossible, ReadOnly };
RecordsetData loadStatement(Connection& connection, const QString& sql,
                            const QVariantList& parameters,
                            StatementRows rows = StatementRows::EditableWherePossible);

// The statement that reads the rowid and fields of the editable rows from a
// rowid on, in rowid order, at most as many as its second parameter says.
QString blockStatement(const RecordsetData& data);

} // namespace kpl
