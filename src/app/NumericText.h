#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace kpl {

// Numbers typed or stored as text, read the way the user's locale writes
// them: surrounding blanks, a sign, digits with group separators and the
// decimal separator, an exponent. A lone sign or separator, and anything
// that is not a finite number, is not numeric.
class NumericText {
public:
    explicit NumericText(QLocale locale) : m_locale(std::move(locale)) {}

    std::optional<double> value(const QString& text) const;
    bool isNumeric(const QString& text) const { return value(text).has_value(); }

    // The text's number rounded to a whole number, a half to the even
    // neighbour; numbers outside the 32-bit (toLong) or 16-bit (toInteger)
    // range, and texts that are not numeric, are failures.
    qint32 toLong(const QString& text) const;
    qint16 toInteger(const QString& text) const;

    // A whole number as text that this locale reads back as the same number.
    QString format(double wholeNumber) const;

private:
    QLocale m_locale;
};

} // namespace kpl
