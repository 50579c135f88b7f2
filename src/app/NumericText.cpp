#include "app/NumericText.h"

#include "core/Failure.h"

#include <cmath>
#include <limits>

namespace kpl {

namespace {

double roundHalfEven(double number) {
    return std::nearbyint(number);
}

template <class Int> Int toWhole(const std::optional<double>& number) {
    if (!number)
        raise(vb::TypeMismatch);
    const double rounded = roundHalfEven(*number);
    if (rounded < double(std::numeric_limits<Int>::min()) ||
        rounded > double(std::numeric_limits<Int>::max()))
        raise(vb::Overflow);
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<double> NumericText::value(const QString& text) const {
    bool ok = false;
    const double number = m_locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

qint32 NumericText::toLong(const QString& text) const {
    return toWhole<qint32>(value(text));
}

qint16 NumericText::toInteger(const QString& text) const {
    return toWhole<qint16>(value(text));
}

QString NumericText::format(double wholeNumber) const {
    QLocale plain = m_locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(wholeNumber, 'f', 0);
}

} // namespace kpl
