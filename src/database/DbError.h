#pragma once

#include "core/Failure.h"

#include <QString>

namespace kpl {

// Numbers of the failures the database layer detects itself, as the old
// database engine numbered them; the program's texts and logs know them.
namespace db {
constexpr qint32 UpdateWithoutEdit = 3020;
constexpr qint32 NoCurrentRecord = 3021;
constexpr qint32 ReadOnly = 3027;
constexpr qint32 RecordDeleted = 3167;
constexpr qint32 InvalidOperation = 3219;
constexpr qint32 NoFieldDefined = 3264;
constexpr qint32 ItemNotFound = 3265;
constexpr qint32 NumericFieldOverflow = 3349;
constexpr qint32 ObjectInvalid = 3420;
constexpr qint32 ConversionError = 3421;

QString description(qint32 number);
} // namespace db

// A failure of a database operation. Failures of the engine carry SQLite's
// extended result code as number, "SQLite" as source and the engine's message
// (with the file name where it helps) as description; failures the layer
// detects itself carry one of the numbers above and the source "Database".
struct DbError : Failure {
    DbError(qint32 failureNumber, QString failureSource, QString failureDescription);

    // One of the layer's own failures with its standard description.
    static DbError numbered(qint32 number);
};

} // namespace kpl
