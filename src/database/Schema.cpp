#include "internal/Schema.h"

#include "database/DbError.h"
#include "internal/Connection.h"

namespace kpl {

QStringList Schema::tableNames() const {
    StatementUse query(m_connection.cached(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
        "ESCAPE '\\' ORDER BY rowid")));
    QStringList names;
    while (query->step())
        names.append(query->columnValue(0).toString());
    return names;
}

QString Schema::storedTableName(const QString& name) const {
    StatementUse query(m_connection.cached(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE")));
    query->bind(1, name);
    return query->step() ? query->columnValue(0).toString() : QString();
}

TableDef Schema::tableDef(const QString& name) const {
    const QString storedName = storedTableName(name);
    if (storedName.isEmpty())
        throw DbError::numbered(db::ItemNotFound);
    StatementUse columns(m_connection.cached(
        QStringLiteral("SELECT name, type FROM pragma_table_info(?) ORDER BY cid")));
    columns->bind(1, storedName);
    TableDef def(storedName);
    while (columns->step()) {
        def.appendField(fieldOf(columns->columnValue(0).toString(),
                                parseDeclaredType(columns->columnValue(1).toString())));
    }
    return def;
}

} // namespace kpl
