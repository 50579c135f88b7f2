#include "database/DbError.h"

#include "internal/Engine.h"

#include <sqlite3.h>

#include <utility>

namespace kpl {

namespace {
const QString kEngineSource = QStringLiteral("SQLite");
const QString kLayerSource = QStringLiteral("Database");

QString withFileName(QString message, const QString& fileName) {
    if (!fileName.isEmpty())
        message += QStringLiteral(" (%1)").arg(fileName);
    return message;
}
} // namespace

QString db::description(qint32 number) {
    switch (number) {
    case UpdateWithoutEdit:
        return QStringLiteral("Update or CancelUpdate without AddNew or Edit.");
    case NoCurrentRecord:
        return QStringLiteral("No current record.");
    case ReadOnly:
        return QStringLiteral("Cannot update. Database or object is read-only.");
    case RecordDeleted:
        return QStringLiteral("Record is deleted.");
    case InvalidOperation:
        return QStringLiteral("Invalid operation.");
    case NoFieldDefined:
        return QStringLiteral("No field defined--cannot append TableDef or Index.");
    case ItemNotFound:
        return QStringLiteral("Item not found in this collection.");
    case NumericFieldOverflow:
        return QStringLiteral("Numeric field overflow.");
    case ObjectInvalid:
        return QStringLiteral("Object invalid or no longer set.");
    case ConversionError:
        return QStringLiteral("Data type conversion error.");
    default:
        return QStringLiteral("Database error %1.").arg(number);
    }
}

DbError::DbError(qint32 failureNumber, QString failureSource, QString failureDescription)
    : Failure{failureNumber, std::move(failureSource), std::move(failureDescription)} {}

DbError engineError(sqlite3* connection, const QString& fileName) {
    return DbError(sqlite3_extended_errcode(connection), kEngineSource,
                   withFileName(QString::fromUtf8(sqlite3_errmsg(connection)), fileName));
}

DbError engineErrorCode(int code, const QString& fileName) {
    return DbError(code, kEngineSource,
                   withFileName(QString::fromUtf8(sqlite3_errstr(code)), fileName));
}

DbError DbError::numbered(qint32 number) {
    return DbError(number, kLayerSource, db::description(number));
}

} // namespace kpl
