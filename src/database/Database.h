#pragma once

#include "database/Recordset.h"
#include "database/TableDef.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace kpl {

class Connection;

// One open preset database: an SQLite 3 file (named *.mdb like the files of
// the old engine it replaces). Every operation throws DbError on failure.
//
// Writes are collected in one transaction that starts with the first write
// and is committed by commit() or close(); a database that goes away without
// them (a failure unwinding the stack) rolls them back. When a failure makes
// the engine roll the transaction back, every later write and commit fails
// naming that failure, so that no write lands outside the transaction it
// belonged to. Reads see pending writes.
// The file uses a rollback journal: once closed it is one self-contained
// file that may be copied.
//
// Text comparisons in statements ignore letter case as the old engine's did
// when they name the collation kTextCollation (TextCollation.h). Values are
// always bound as parameters, never spliced into statement text.
class Database {
public:
    // Opens an existing database read-write. Refused before the engine sees
    // it: a database of the old engine (it has to be imported first). A
    // missing file is not created; a file that is no database gives the
    // engine's failure.
    static Database open(const QString& path);
    // Opens the database at `path`, creating an empty one when the file does
    // not exist.
    static Database create(const QString& path);

    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    // Rolls pending writes back and closes; never throws.
    ~Database();

    // Starts the transaction that pending writes are collected in now, so
    // that the reads of a long run share it instead of locking the file anew
    // for each statement. Committed like any pending write.
    void beginTransaction();
    // Saves the pending writes now.
    void commit();
    // The failure after which the engine rolled the pending writes back; ""
    // when it did not.
    QString rollbackCause() const;
    // Commits pending writes and closes the file. When the commit fails the
    // pending writes are rolled back, the file is closed and the failure is
    // thrown. Recordsets of the database are closed with it.
    void close();

    // The user tables' names exactly as stored. SQLite finds a table by name
    // regardless of ASCII letter case; a caller that needs an exact match
    // compares the names itself.
    QStringList tableNames() const;
    // The definition of a table: its stored name and its columns with the
    // type and size their declarations stand for. Failure 3265 when there is
    // no such table.
    TableDef tableDef(const QString& name) const;
    // Creates the table `definition` describes (no keys, constraints or
    // indexes). A name that differs from an existing table's name only in
    // letter case is the same name to the engine and fails.
    void appendTableDef(const TableDef& definition);
    void deleteTable(const QString& name);
    // Renames a column; the engine refuses a name the table already has.
    void renameField(const QString& table, const QString& oldName, const QString& newName);
    // The number of rows the table holds, counted by the engine.
    qint64 rowCount(const QString& table) const;

    // Runs a statement that changes data or definitions, inside the pending
    // write transaction. Parameters: "?" by position, ":name" in the order
    // of first appearance.
    void execute(const QString& sql, const QVariantList& parameters = QVariantList());

    // A recordset over a table, when `tableOrStatement` names one, with its
    // rows in the order they were added. Otherwise `tableOrStatement` is a
    // SELECT statement run with `parameters` bound as for execute(). Its
    // result is editable when it is a plain "SELECT <columns of one table>
    // FROM <that table> ..."; joins, DISTINCT, compound statements and
    // computed columns give a read-only result.
    Recordset openRecordset(const QString& tableOrStatement,
                            const QVariantList& parameters = QVariantList());
    // A read-only recordset of the rows a SELECT statement delivers, read
    // once when it is opened: for reading a whole result, which an editable
    // recordset would read twice (its rows, then their values).
    Recordset openSnapshot(const QString& statement,
                           const QVariantList& parameters = QVariantList());

private:
    explicit Database(std::shared_ptr<Connection> connection);
    Connection& connection() const;

    std::shared_ptr<Connection> m_connection;
};

} // namespace kpl
