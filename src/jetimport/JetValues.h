#pragma once

#include "database/Decimal.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace kpl {

// Values of the fixed-size Jet types from their stored bytes (little
// endian), read exactly rather than from libmdb's printed text, which
// follows the process locale and loses digits.

// A Jet date: days since 30 December 1899, the whole part counting days
// (negative before that day), the fraction the time of day whatever the
// sign (-1.25 is 29 December 1899, 06:00). Rounded to the second, the
// precision dates are stored with. In UTC, so that no daylight-saving gap
// moves a time. Fails outside Jet's range (the years 100 to 9999).
QDateTime jetDateTime(double days);

// A Currency value, stored as a whole number of ten-thousandths: exact over
// its whole range, with scale 4.
Decimal jetCurrency(qint64 tenThousandths);

// A Decimal value with the column's scale from its 17 stored bytes: a sign
// byte (not 0: negative), then the magnitude in four 32-bit words, the most
// significant first, each little endian.
Decimal jetDecimal(QByteArrayView bytes, int scale);

// A Replication ID as Jet shows it: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
// from 16 bytes whose first three groups are little endian.
QString jetGuidText(QByteArrayView bytes);

// The bytes a column of the fixed-size type `jetType` stores (Byte,
// Integer, Long, Single, Double, Currency, Date/Time, Replication ID); -1
// for every other type.
int jetStoredSize(int jetType);

// The value of a column of a fixed-size type (Byte, Integer, Long, Single,
// Double, Currency, Date/Time, Replication ID) or of Binary: qint64,
// double, Decimal, QDateTime, QString or QByteArray. Fails when the number
// of bytes does not fit the type.
QVariant fixedValue(int jetType, QByteArrayView bytes);

} // namespace kpl
