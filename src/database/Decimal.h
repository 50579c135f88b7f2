#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringView>
#include <compare>
#include <optional>

namespace kpl {

// An exact decimal number: a whole number of units of 10^-scale, with as
// many digits as it needs. The value of a Decimal cell. It keeps its scale:
// 1.50 and 1.5 are the same number (compare() finds them equal) but not the
// same decimal (== is false), as a Decimal(18,2) column holds the first one.
//
// Cells convert to text (its decimal text, "-12.50") and to double through
// QVariant.
class Decimal {
public:
    Decimal() = default; // zero, scale 0
    // The number `digits` (ASCII digits; leading zeros are dropped) times
    // 10^-scale, negated when `negative`. Zero is never negative.
    Decimal(bool negative, QByteArray digits, int scale);

    // Decimal text: an optional sign, digits with an optional "." and an
    // optional exponent ("1.5e-3"); blanks around it are ignored. None for
    // anything else. The scale is the number of digits after the point,
    // less the exponent (never below 0).
    static std::optional<Decimal> fromText(QStringView text);
    // The shortest decimal that reads back as `number`; none for infinity
    // and NaN.
    static std::optional<Decimal> fromDouble(double number);
    // `units` times 10^-scale, exact over the whole 64-bit range.
    static Decimal fromUnits(qint64 units, int scale);

    int scale() const { return m_scale; }
    // The digits before the point, leading zeros not counted.
    int integerDigits() const;
    // The digits from the first to the last that is not zero (1 for zero).
    int significantDigits() const;

    // The number with `scale` digits after the point, rounded half to even
    // as the old engine rounded.
    Decimal rescaled(int scale) const;
    // The whole number, when there are no non-zero digits after the point
    // and it fits 64 bits.
    std::optional<qint64> toWholeNumber() const;
    // The number as a count of 10^-scale units, rounded to that scale as
    // rescaled() rounds, when it fits 64 bits.
    std::optional<qint64> toUnits(int scale) const;

    QString toString() const;
    double toDouble() const;

    // How this number orders against `other`, whatever their scales.
    std::strong_ordering compare(const Decimal& other) const;
    friend bool operator==(const Decimal&, const Decimal&) = default;

private:
    bool m_negative = false;
    QByteArray m_digits = "0"; // no leading zeros
    int m_scale = 0;
};

} // namespace kpl

Q_DECLARE_METATYPE(kpl::Decimal)
