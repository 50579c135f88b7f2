#pragma once

#include "LayerOnly.h"
#include "database/TableDef.h"

#include <QString>
#include <QStringList>

namespace kpl {

class Connection;

// Reads the tables of a connection's database from the engine's own
// catalogue; nothing is cached, so a change is seen at once. Used inside the
// database layer only.
class Schema {
public:
    explicit Schema(Connection& connection) : m_connection(connection) {}

    // The names of the user tables, as stored, in the order they were made.
    QStringList tableNames() const;
    // The stored name of the table SQLite finds under `name` (which, like
    // SQLite, ignores the letter case of ASCII letters); "" when none.
    QString storedTableName(const QString& name) const;
    // The table's definition; failure 3265 when there is no such table.
    TableDef tableDef(const QString& name) const;

private:
    Connection& m_connection;
};

} // namespace kpl
