#include "internal/Connection.h"

#include "database/DatabaseFile.h"
#include "database/DbError.h"
#include "database/TextCollation.h"
#include "internal/Engine.h"

#include <QDir>
#include <sqlite3.h>

namespace kpl {

namespace {
// How long a statement waits for another connection's lock on the same file.
constexpr int kBusyTimeoutMs = 5000;
} // namespace

Connection::Connection(const QString& path, Mode mode) : m_path(path) {
    refuseJetDatabase(path);
    openHandle(mode);
    try {
        configure();
    } catch (const DbError& engineError) {
        DbError error = engineError;
        error.description += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(path));
        closeHandle();
        throw error;
    }
}

Connection::~Connection() {
    closeHandle(); // rolls back what was not committed
}

void Connection::close() {
    try {
        commit();
    } catch (const DbError&) {
        // Closing the handle rolls the transaction back: the file stays as
        // it was before it, and nothing is tried again.
        closeHandle();
        throw;
    }
    closeHandle();
}

void Connection::openHandle(Mode mode) {
    // The engine keeps no statistics of its memory use: they cost a global
    // lock on every allocation. Only possible before the engine's first use.
    static const int unused = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    Q_UNUSED(unused);
    // A connection is used by one thread only: no locking inside the engine.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::OpenOrCreate)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(m_path.toUtf8().constData(), &m_handle, flags, nullptr);
    if (rc == SQLITE_OK)
        return;
    const DbError error = m_handle ? engineError(m_handle, QDir::toNativeSeparators(m_path))
                                   : engineErrorCode(rc, QDir::toNativeSeparators(m_path));
    closeHandle();
    throw error;
}

// sqlite3_open only notes the file name: reading the schema version is what
// finds out whether the file is a database at all. The rollback journal keeps
// a closed database in one self-contained file.
void Connection::configure() {
    sqlite3_extended_result_codes(m_handle, 1);
    sqlite3_busy_timeout(m_handle, kBusyTimeoutMs);
    if (!registerTextCollation(m_handle))
        fail();
    for (const char* pragma : {"PRAGMA schema_version", "PRAGMA journal_mode=DELETE"}) {
        Statement statement(m_handle, QLatin1String(pragma));
        statement.run();
    }
}

// An open transaction is rolled back before the handle goes, also when a
// statement of it is still held somewhere.
void Connection::closeHandle() noexcept {
    if (m_handle && !sqlite3_get_autocommit(m_handle))
        sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
    m_writing = false;
    m_cache.clear();
    sqlite3_close_v2(m_handle);
    m_handle = nullptr;
}

std::shared_ptr<Statement> Connection::cached(const QString& sql) {
    auto found = m_cache.find(sql);
    if (found == m_cache.end())
        found = m_cache.insert(sql, std::make_shared<Statement>(m_handle, sql, true));
    return found.value();
}

void Connection::execute(const QString& sql, const QVariantList& parameters) {
    if (parameters.isEmpty()) {
        Statement statement(m_handle, sql);
        write(statement);
        return;
    }
    // A statement given values is run again with others (an insert per
    // imported row): prepared once.
    const StatementUse statement(cached(sql));
    statement->bindAll(parameters);
    write(*statement);
}

void Connection::write(Statement& statement) {
    beginWrite();
    try {
        statement.run();
    } catch (const DbError& error) {
        // Some failures (a journal that cannot be written, a full disk) make
        // the engine roll the whole transaction back, not only the statement.
        if (sqlite3_get_autocommit(m_handle)) {
            m_writing = false;
            m_rollbackCause = error.description;
        }
        throw;
    }
}

void Connection::beginWrite() {
    refuseAfterRollback();
    if (sqlite3_get_autocommit(m_handle)) {
        Statement(m_handle, QStringLiteral("BEGIN")).run();
        m_writing = true;
    }
}

void Connection::commit() {
    refuseAfterRollback();
    if (m_handle && !sqlite3_get_autocommit(m_handle))
        Statement(m_handle, QStringLiteral("COMMIT")).run();
    m_writing = false;
}

// Writes after a rollback would begin a new transaction with only the rest of
// the run's work in it: they, and a commit, fail naming the first failure.
void Connection::refuseAfterRollback() {
    if (m_writing && m_handle && sqlite3_get_autocommit(m_handle)) {
        m_writing = false;
        m_rollbackCause = QStringLiteral("the engine ended the transaction");
    }
    if (!m_rollbackCause.isEmpty())
        throw DbError(SQLITE_ABORT_ROLLBACK, QStringLiteral("SQLite"),
                      QStringLiteral("The changes to %1 were rolled back after this failure: %2")
                          .arg(QDir::toNativeSeparators(m_path), m_rollbackCause));
}

qint64 Connection::lastInsertRowid() const {
    return sqlite3_last_insert_rowid(m_handle);
}

int Connection::changes() const {
    return sqlite3_changes(m_handle);
}

void Connection::fail() const {
    throw engineError(m_handle, QDir::toNativeSeparators(m_path));
}

} // namespace kpl
