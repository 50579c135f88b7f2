#include "database/Database.h"

#include "database/DbError.h"
#include "internal/Connection.h"
#include "internal/RecordsetData.h"
#include "internal/Schema.h"
#include "internal/SqlIdentifier.h"

#include <sqlite3.h>

#include <utility>

namespace kpl {

namespace {
bool isSingleWord(const QString& text) {
    const QString trimmed = text.trimmed();
    return !trimmed.isEmpty() && !trimmed.contains(QLatin1Char(' ')) &&
           !trimmed.contains(QLatin1Char('\t')) && !trimmed.contains(QLatin1Char('\n'));
}
} // namespace

Database Database::open(const QString& path) {
    return Database(std::make_shared<Connection>(path, Connection::Mode::OpenExisting));
}

Database Database::create(const QString& path) {
    return Database(std::make_shared<Connection>(path, Connection::Mode::OpenOrCreate));
}

Database::Database(std::shared_ptr<Connection> connection) : m_connection(std::move(connection)) {}

Database::Database(Database&&) noexcept = default;

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other)
        m_connection = std::exchange(other.m_connection, nullptr);
    return *this;
}

Database::~Database() = default;

Connection& Database::connection() const {
    if (!m_connection)
        throw DbError::numbered(db::ObjectInvalid);
    return *m_connection;
}

void Database::beginTransaction() {
    connection().beginWrite();
}

void Database::commit() {
    connection().commit();
}

QString Database::rollbackCause() const {
    return connection().rollbackCause();
}

void Database::close() {
    const std::shared_ptr<Connection> closing = std::exchange(m_connection, nullptr);
    if (closing)
        closing->close();
}

QStringList Database::tableNames() const {
    return Schema(connection()).tableNames();
}

TableDef Database::tableDef(const QString& name) const {
    return Schema(connection()).tableDef(name);
}

void Database::appendTableDef(const TableDef& definition) {
    connection().execute(definition.createStatement());
}

void Database::deleteTable(const QString& name) {
    connection().execute(QStringLiteral("DROP TABLE %1").arg(quoteIdentifier(name)));
}

void Database::renameField(const QString& table, const QString& oldName, const QString& newName) {
    connection().execute(
        QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3")
            .arg(quoteIdentifier(table), quoteIdentifier(oldName), quoteIdentifier(newName)));
}

qint64 Database::rowCount(const QString& table) const {
    StatementUse count(
        connection().cached(QStringLiteral("SELECT COUNT(*) FROM %1").arg(quoteIdentifier(table))));
    count->step();
    return count->columnInteger(0);
}

void Database::execute(const QString& sql, const QVariantList& parameters) {
    connection().execute(sql, parameters);
}

// A single word that names no table is reported as a missing table rather
// than as the syntax error the engine would find in it.
Recordset Database::openRecordset(const QString& tableOrStatement, const QVariantList& parameters) {
    Connection& database = connection();
    const QString table = Schema(database).storedTableName(tableOrStatement.trimmed());
    if (!table.isEmpty())
        return Recordset(m_connection, loadTable(database, table));
    if (isSingleWord(tableOrStatement))
        throw DbError(SQLITE_ERROR, QStringLiteral("SQLite"),
                      QStringLiteral("no such table: %1").arg(tableOrStatement.trimmed()));
    return Recordset(m_connection, loadStatement(database, tableOrStatement, parameters));
}

Recordset Database::openSnapshot(const QString& statement, const QVariantList& parameters) {
    return Recordset(m_connection,
                     loadStatement(connection(), statement, parameters, StatementRows::ReadOnly));
}

} // namespace kpl
