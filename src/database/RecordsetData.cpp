#include "internal/RecordsetData.h"

#include "database/DbError.h"
#include "database/FieldValue.h"
#include "internal/Connection.h"
#include "internal/Schema.h"
#include "internal/SqlIdentifier.h"

#include <QRegularExpression>
#include <optional>

namespace kpl {

namespace {

// The caller's statement with the rowid selected in front of its columns;
// nullopt when the statement does not start with a plain SELECT.
std::optional<QString> withRowid(const QString& sql) {
    static const QRegularExpression select(QStringLiteral(R"(^\s*SELECT\s)"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = select.match(sql);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(0) + QStringLiteral("_rowid_, ") + sql.mid(match.capturedEnd());
}

// The fields of the statement's result and, when every column comes straight
// from one table, that table and the columns shown.
RecordsetData describe(Statement& statement) {
    RecordsetData data;
    QStringList tables;
    for (int i = 0; i < statement.columnCount(); ++i) {
        data.fields.append(
            fieldOf(statement.columnName(i), parseDeclaredType(statement.columnDeclaredType(i))));
        data.tableColumns.append(statement.columnOriginName(i));
        tables.append(statement.columnTableName(i));
    }
    tables.removeDuplicates();
    if (tables.size() == 1 && !tables.first().isEmpty())
        data.table = tables.first();
    return data;
}

// Loads the rowids through the statement with the rowid in front; false when
// that statement cannot be made.
bool loadRowids(Connection& connection, RecordsetData& data, const QString& sql,
                const QVariantList& parameters) {
    const std::optional<QString> rowidSql = withRowid(sql);
    if (!rowidSql)
        return false;
    std::shared_ptr<Statement> prepared;
    try {
        prepared = connection.cached(*rowidSql);
    } catch (const DbError&) {
        return false;
    }
    if (prepared->columnCount() != data.fields.size() + 1)
        return false;
    StatementUse query(prepared);
    query->bindAll(parameters);
    while (query->step())
        data.rowids.push_back(query->columnInteger(0));
    return true;
}

void loadRows(Statement& query, RecordsetData& data) {
    while (query.step()) {
        const QVariantList* previous = data.rows.empty() ? nullptr : &data.rows.back();
        data.rows.push_back(readRow(query, data.fields, 0, previous));
    }
}

} // namespace

QVariantList readRow(const Statement& query, const QList<Field>& fields, int firstColumn,
                     const QVariantList* previous) {
    QVariantList row;
    row.reserve(fields.size());
    for (int i = 0; i < fields.size(); ++i) {
        const int column = firstColumn + i;
        const QVariant* above = previous ? &previous->at(i) : nullptr;
        // Text repeated from the row before shares that row's string.
        if (above && isTextType(fields.at(i).type) && isTextValue(*above) &&
            query.columnIsAsciiText(column, *static_cast<const QString*>(above->constData())))
            row.append(*above);
        else
            row.append(fromStoredValue(query.columnValue(column), fields.at(i)));
    }
    return row;
}

RecordsetData loadTable(Connection& connection, const QString& storedTableName) {
    RecordsetData data;
    data.table = storedTableName;
    const TableDef def = Schema(connection).tableDef(storedTableName);
    for (const Field& field : def.fields()) {
        data.fields.append(field);
        data.tableColumns.append(field.name);
    }
    StatementUse query(connection.cached(QStringLiteral("SELECT _rowid_ FROM %1 ORDER BY _rowid_")
                                             .arg(quoteIdentifier(data.table))));
    while (query->step())
        data.rowids.push_back(query->columnInteger(0));
    return data;
}

RecordsetData loadStatement(Connection& connection, const QString& sql,
                            const QVariantList& parameters, StatementRows rows) {
    std::shared_ptr<Statement> prepared = connection.cached(sql);
    if (!prepared->isQuery())
        throw DbError::numbered(db::InvalidOperation);
    RecordsetData data = describe(*prepared);
    if (rows == StatementRows::EditableWherePossible && !data.table.isEmpty() &&
        loadRowids(connection, data, sql, parameters))
        return data;
    data.table.clear();
    StatementUse query(prepared);
    query->bindAll(parameters);
    loadRows(*prepared, data);
    return data;
}

QString blockStatement(const RecordsetData& data) {
    QStringList columns{QStringLiteral("_rowid_")};
    for (const QString& column : data.tableColumns)
        columns.append(quoteIdentifier(column));
    return QStringLiteral("SELECT %1 FROM %2 WHERE _rowid_ >= ? ORDER BY _rowid_ LIMIT ?")
        .arg(columns.join(", "), quoteIdentifier(data.table));
}

} // namespace kpl
