#pragma once

#include "core/Failure.h"

#include <cmath>
#include <limits>

namespace kpl {

// Whole numbers as the old runtime held them: Integer (16 bits), in which
// counts, record numbers, part numbers and INI integers are held, and Long
// (32 bits).

// Whether `value` lies in the range of the whole-number type Int.
template <class Int, class Number> constexpr bool fitsIn(Number value) {
    return value >= std::numeric_limits<Int>::min() && value <= std::numeric_limits<Int>::max();
}

// `value` as an Int; failure 6 (overflow) outside its range.
template <class Int, class Number> Int narrowTo(Number value) {
    if (!fitsIn<Int>(value))
        raise(vb::Overflow);
    return static_cast<Int>(value);
}

inline qint16 toInt16(qint64 value) {
    return narrowTo<qint16>(value);
}

// `number` rounded half to even, as the old runtime rounded a number it
// converted to a whole number; failure 6 outside Int's range.
template <class Int> Int roundTo(double number) {
    return narrowTo<Int>(std::nearbyint(number));
}

} // namespace kpl
