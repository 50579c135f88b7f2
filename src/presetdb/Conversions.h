#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace kpl {

// The standard conversion of a cell to text: Null gives "", numbers their
// plain decimal text.
QString valueText(const QVariant& value);

// A whole number as the old runtime converted a cell (rounding half to
// even); failure 94 for Null, 13 for text that is no number, 6 beyond 16 bits.
qint16 cellToInt16(const QVariant& value);

// The cell as a number for comparing offsets; none for Null, empty or
// non-numeric values, which match nothing.
std::optional<double> cellNumber(const QVariant& value);

} // namespace kpl
