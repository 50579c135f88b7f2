#pragma once

#include "database/Field.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

// Cell values. A cell is a QVariant whose kind follows its column's type:
// Null is an invalid QVariant (never the empty text), text columns give
// QString, whole-number columns qint64, Single/Double/Numeric double,
// Decimal a Decimal with the column's scale and Currency one with four
// decimals (both rounded half to even, and exact over their whole range),
// Boolean bool, DateTime QDateTime and Binary QByteArray.
namespace kpl {

// Whether the cell is Null.
bool isNullValue(const QVariant& value);
// Whether the value is a whole number of any width (not a Boolean).
bool isWholeNumberVariant(const QVariant& value);
// Whether the cell holds text (not Null, not a number, date or other type).
bool isTextValue(const QVariant& value);

// The value the column `field` takes when `value` is written into it; Null
// stays Null. Failure 3421 when the value does not convert, 3349 when a
// whole number or a Currency value lies outside the type's range or a
// decimal has more digits before the point than the column's precision and
// scale leave.
QVariant toFieldValue(const QVariant& value, const Field& field);

// What the engine stores for the cell `cell` of the column `field`: the
// count of ten-thousandths for a Currency column declared as this layer
// declares it (see kCountedCurrency), else the cell itself.
QVariant toStoredValue(const QVariant& cell, const Field& field);

// The value a cell of the column `field` delivers, from the value as SQLite
// returned it (Null, qint64, double, QString or QByteArray). A stored value
// that does not convert, such as text another program put into a number
// column, is delivered as it is stored.
QVariant fromStoredValue(QVariant stored, const Field& field);

// How a date and time is stored: "yyyy-MM-dd HH:mm:ss".
QString storedDateTimeText(const QDateTime& dateTime);

} // namespace kpl
