#pragma once

#include "LayerOnly.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

namespace kpl {

// One prepared statement of a connection. Binds cell values, steps through
// the result and reads its columns; every engine failure becomes a DbError.
// Used inside the database layer only.
class Statement {
public:
    // Prepares `sql`; `persistent` marks a statement that is kept for reuse.
    Statement(sqlite3* connection, const QString& sql, bool persistent = false);
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Binds the values in order: "?" placeholders by position, ":name"
    // placeholders in the order of their first appearance.
    void bindAll(const QVariantList& values);
    // Binds one value (position from 1): Null, whole numbers and bools as
    // integers, floating point as real, QByteArray as blob, dates as
    // "yyyy-MM-dd HH:mm:ss" text, a Decimal as a number where one keeps it
    // exactly (else as its text in a blob), anything else as UTF-8 text.
    // The engine keeps its own copy of a text or blob.
    void bind(int position, const QVariant& value);

    // Runs to the next result row; false when there is none.
    bool step();
    // Runs a statement that returns no rows to its end.
    void run();
    // Makes the statement ready to run again; bindings are cleared.
    void reset() noexcept;

    // Whether the statement only reads and delivers rows.
    bool isQuery() const;
    int columnCount() const;
    QString columnName(int column) const;
    // The declared type of the table column a result column comes from; ""
    // for an expression.
    QString columnDeclaredType(int column) const;
    // The table and the column a result column comes from; "" for an
    // expression.
    QString columnTableName(int column) const;
    QString columnOriginName(int column) const;
    // The value of a column of the current row as stored: Null, qint64,
    // double, QString or QByteArray.
    QVariant columnValue(int column) const;
    qint64 columnInteger(int column) const;
    // Whether the column holds text made of the same ASCII characters as
    // `text`; false for any other text, which needs decoding to compare.
    bool columnIsAsciiText(int column, const QString& text) const;

private:
    [[noreturn]] void fail() const;

    sqlite3* m_connection = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};

// Holds a reused statement for one run and resets it when done, also when a
// failure unwinds, so that no read stays open on the connection. Sharing the
// statement keeps it alive when the connection's cache lets go of it.
class StatementUse {
public:
    explicit StatementUse(std::shared_ptr<Statement> statement)
        : m_statement(std::move(statement)) {}
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    ~StatementUse() { m_statement->reset(); }

    Statement* operator->() const { return m_statement.get(); }
    Statement& operator*() const { return *m_statement; }

private:
    std::shared_ptr<Statement> m_statement;
};

} // namespace kpl
