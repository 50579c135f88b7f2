#include "app/NumericText.h"

#include "core/WholeNumber.h"

#include <cmath>

namespace kpl {

namespace {

template <class Int> Int toWhole(const std::optional<double>& number) {
    if (!number)
        raise(vb::TypeMismatch);
    return roundTo<Int>(*number);
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
