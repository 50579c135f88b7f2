#pragma once

#include "jetimport/JetColumn.h"

#include <QByteArray>
#include <QList>
#include <QVariant>
#include <QVariantList>

namespace kpl {

// The Jet 4 column types the writer stores: Yes/No, Byte, Integer, Long,
// Single, Double, Currency, Date/Time, Decimal and Text.
bool isWritableJetType(int type);

// Gives `columns` (their names, types and sizes set) the places a new table
// definition gives them: each its own bit in the null mask in order, the
// fixed-length ones packed from the start of the row in order, the Text
// columns numbered in order in the offset table (a fixed-length column
// notes how many Text columns come before it, as Jet's own definitions do).
// Yes/No values live in the null mask alone: they take no bytes of the row,
// though their definition states one.
void layOutJet4Columns(QList<JetColumn>& columns);

// One stored row of a Jet 4 table whose columns were laid out as above, with
// `values` (one per column: an invalid QVariant for Null; qint64, double,
// Decimal, QDateTime, QString or bool as the column's type asks). Text is
// stored compressed where every character lies in U+0001 to U+00FF. Fails
// (naming the column) where a value does not fit its column: a number out of
// its type's range, a text longer than the column, a date outside Jet's
// range.
QByteArray encodeJet4Row(const QList<JetColumn>& columns, const QVariantList& values);

} // namespace kpl
