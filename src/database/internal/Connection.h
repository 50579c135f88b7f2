#pragma once

#include "LayerOnly.h"
#include "Statement.h"

#include <QHash>
#include <QString>
#include <QVariantList>
#include <memory>

struct sqlite3;

namespace kpl {

// One open SQLite connection of a Database: the handle, the statements kept
// for reuse and the pending write transaction. Writes start a transaction on
// first use; it is committed by commit() and close(), and rolled back when
// the connection goes away without them. When a failure makes the engine
// roll the transaction back, the connection refuses every later write and
// commit, naming that failure. Used inside the database layer only.
class Connection {
public:
    enum class Mode { OpenExisting, OpenOrCreate };

    // Opens `path` read-write, refusing a file of the old engine, and checks
    // that the file is a database (the engine opens lazily otherwise).
    Connection(const QString& path, Mode mode);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    // Rolls pending writes back; never throws.
    ~Connection();

    sqlite3* handle() const { return m_handle; }

    // The prepared statement for `sql`, kept for reuse until the connection
    // closes (a run uses a handful of statements); hold it through a
    // StatementUse while running it.
    std::shared_ptr<Statement> cached(const QString& sql);
    // Runs a statement that writes (DML or DDL) inside the write transaction;
    // one with parameters is prepared once and kept like cached() ones.
    void execute(const QString& sql, const QVariantList& parameters = QVariantList());
    // Runs the prepared, bound write statement inside the write transaction.
    void write(Statement& statement);
    // Starts the write transaction unless one is pending.
    void beginWrite();
    void commit();
    // Commits pending writes and closes the handle. When the commit fails,
    // the transaction is rolled back, the handle closed and the failure
    // thrown.
    void close();
    // The failure after which the engine rolled the pending writes back; ""
    // when it did not.
    const QString& rollbackCause() const { return m_rollbackCause; }
    qint64 lastInsertRowid() const;
    int changes() const;

    [[noreturn]] void fail() const;

private:
    void openHandle(Mode mode);
    void configure();
    void closeHandle() noexcept;
    void refuseAfterRollback();

    QString m_path;
    sqlite3* m_handle = nullptr;
    QHash<QString, std::shared_ptr<Statement>> m_cache;
    bool m_writing = false; // a write transaction of ours is open
    QString m_rollbackCause;
};

} // namespace kpl
