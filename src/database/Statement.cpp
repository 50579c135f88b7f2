#include "internal/Statement.h"

#include "database/DbError.h"
#include "database/Decimal.h"
#include "database/FieldValue.h"
#include "internal/Engine.h"

#include <sqlite3.h>

#include <utility>

namespace kpl {

namespace {
// A double gives back every decimal of at most this many significant digits.
constexpr int kDigitsADoubleKeeps = 15;

QString textOrEmpty(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// A decimal is stored as a number of the engine where that number gives the
// same decimal back: a whole number of 64 bits, or a double for at most 15
// significant digits. Any other decimal is stored as its text in a blob,
// which no column affinity turns into a double.
int bindDecimal(sqlite3_stmt* statement, int position, const Decimal& number) {
    if (const std::optional<qint64> whole = number.toWholeNumber())
        return sqlite3_bind_int64(statement, position, *whole);
    if (number.significantDigits() <= kDigitsADoubleKeeps)
        return sqlite3_bind_double(statement, position, number.toDouble());
    const QByteArray text = number.toString().toLatin1();
    return sqlite3_bind_blob64(statement, position, text.constData(), sqlite3_uint64(text.size()),
                               SQLITE_TRANSIENT);
}
} // namespace

Statement::Statement(sqlite3* connection, const QString& sql, bool persistent)
    : m_connection(connection) {
    const QByteArray utf8 = sql.toUtf8();
    const int rc =
        sqlite3_prepare_v3(connection, utf8.constData(), int(utf8.size()),
                           persistent ? SQLITE_PREPARE_PERSISTENT : 0, &m_statement, nullptr);
    if (rc != SQLITE_OK)
        fail();
    if (!m_statement) // the text held no statement, only blanks or comments
        throw engineErrorCode(SQLITE_MISUSE);
}

Statement::Statement(Statement&& other) noexcept
    : m_connection(other.m_connection), m_statement(std::exchange(other.m_statement, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_connection = other.m_connection;
        m_statement = std::exchange(other.m_statement, nullptr);
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(m_statement);
}

void Statement::bindAll(const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values.at(i));
}

void Statement::bind(int position, const QVariant& value) {
    int rc = SQLITE_OK;
    if (isNullValue(value)) {
        rc = sqlite3_bind_null(m_statement, position);
    } else if (value.typeId() == QMetaType::LongLong) {
        // The kind every whole-number cell has: read without a conversion.
        rc = sqlite3_bind_int64(m_statement, position, value.value<qint64>());
    } else if (value.typeId() == QMetaType::Bool || isWholeNumberVariant(value)) {
        rc = sqlite3_bind_int64(m_statement, position, value.toLongLong());
    } else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        rc = sqlite3_bind_double(m_statement, position, value.toDouble());
    } else if (value.typeId() == qMetaTypeId<Decimal>()) {
        rc = bindDecimal(m_statement, position, value.value<Decimal>());
    } else if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray data = value.toByteArray();
        rc = sqlite3_bind_blob64(m_statement, position, data.constData(),
                                 sqlite3_uint64(data.size()), SQLITE_TRANSIENT);
    } else {
        const QByteArray utf8 =
            (value.typeId() == QMetaType::QDateTime ? storedDateTimeText(value.toDateTime())
                                                    : value.toString())
                .toUtf8();
        rc = sqlite3_bind_text64(m_statement, position, utf8.constData(),
                                 sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    if (rc != SQLITE_OK)
        fail();
}

bool Statement::step() {
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail();
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() noexcept {
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

bool Statement::isQuery() const {
    return sqlite3_stmt_readonly(m_statement) && columnCount() > 0;
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_statement);
}

QString Statement::columnName(int column) const {
    return textOrEmpty(sqlite3_column_name(m_statement, column));
}

QString Statement::columnDeclaredType(int column) const {
    return textOrEmpty(sqlite3_column_decltype(m_statement, column));
}

QString Statement::columnTableName(int column) const {
    return textOrEmpty(sqlite3_column_table_name(m_statement, column));
}

QString Statement::columnOriginName(int column) const {
    return textOrEmpty(sqlite3_column_origin_name(m_statement, column));
}

QVariant Statement::columnValue(int column) const {
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_TEXT: {
        // The files store UTF-8: read it as stored, without the engine's own
        // conversion buffer.
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(m_statement, column)));
    }
    default:
        return QVariant();
    }
}

qint64 Statement::columnInteger(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

bool Statement::columnIsAsciiText(int column, const QString& text) const {
    if (sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        return false;
    const auto* bytes = sqlite3_column_text(m_statement, column);
    if (sqlite3_column_bytes(m_statement, column) != text.size())
        return false;
    const ushort* chars = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (bytes[i] >= 0x80 || chars[i] != bytes[i])
            return false;
    }
    return true;
}

void Statement::fail() const {
    throw engineError(m_connection);
}

} // namespace kpl
