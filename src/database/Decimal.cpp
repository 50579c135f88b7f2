#include "database/Decimal.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace kpl {

namespace {

// Exponents beyond this are no decimal of any column.
constexpr int kLargestExponent = 1000;

// Cells of Decimal columns convert to text and double like the other kinds.
const bool kConversionsRegistered = [] {
    QMetaType::registerConverter<Decimal, QString>(&Decimal::toString);
    QMetaType::registerConverter<Decimal, double>(&Decimal::toDouble);
    return true;
}();

// Adds one to a string of decimal digits.
QByteArray incremented(QByteArray digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return '1' + digits;
}

bool allZeros(QByteArrayView digits) {
    for (char digit : digits) {
        if (digit != '0')
            return false;
    }
    return true;
}

} // namespace

Decimal::Decimal(bool negative, QByteArray digits, int scale) {
    Q_UNUSED(kConversionsRegistered);
    if (scale < 0) {
        digits.append(QByteArray(-scale, '0'));
        scale = 0;
    }
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == '0')
        ++first;
    m_digits = digits.isEmpty() ? QByteArray("0") : digits.mid(first);
    m_negative = negative && m_digits != "0";
    m_scale = scale;
}

std::optional<Decimal> Decimal::fromText(QStringView text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*([+-]?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?\d{1,4}))?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text.toString());
    if (!match.hasMatch() || match.capturedLength(2) + match.capturedLength(3) == 0)
        return std::nullopt;
    const int exponent = match.capturedView(4).toInt();
    if (std::abs(exponent) > kLargestExponent)
        return std::nullopt;
    const QString fraction = match.captured(3);
    return Decimal(match.capturedView(1) == u"-", (match.captured(2) + fraction).toLatin1(),
                   int(fraction.size()) - exponent);
}

std::optional<Decimal> Decimal::fromDouble(double number) {
    if (!std::isfinite(number))
        return std::nullopt;
    return fromText(QString::number(number, 'g', QLocale::FloatingPointShortest));
}

int Decimal::integerDigits() const {
    return m_digits == "0" ? 0 : std::max(0, int(m_digits.size()) - m_scale);
}

int Decimal::significantDigits() const {
    qsizetype last = m_digits.size();
    while (last > 1 && m_digits[last - 1] == '0')
        --last;
    return int(last);
}

Decimal Decimal::rescaled(int scale) const {
    if (scale >= m_scale)
        return Decimal(m_negative, m_digits + QByteArray(scale - m_scale, '0'), scale);
    const int dropped = m_scale - scale;
    // Leading zeros so that at least one digit is kept.
    const QByteArray digits =
        QByteArray(std::max(0, dropped + 1 - int(m_digits.size())), '0') + m_digits;
    QByteArray kept = digits.left(digits.size() - dropped);
    const QByteArrayView rest = QByteArrayView(digits).sliced(kept.size());
    const bool exactHalf = rest.front() == '5' && allZeros(rest.sliced(1));
    const bool lastKeptOdd = (kept.back() - '0') % 2 == 1;
    if (rest.front() > '5' || (rest.front() == '5' && (!exactHalf || lastKeptOdd)))
        kept = incremented(kept);
    return Decimal(m_negative, kept, scale);
}

Decimal Decimal::fromUnits(qint64 units, int scale) {
    // The magnitude in unsigned arithmetic, which the smallest value has too.
    const quint64 magnitude = units < 0 ? 0 - quint64(units) : quint64(units);
    return Decimal(units < 0, QByteArray::number(magnitude), scale);
}

std::optional<qint64> Decimal::toWholeNumber() const {
    if (rescaled(0).compare(*this) != 0)
        return std::nullopt;
    return toUnits(0);
}

std::optional<qint64> Decimal::toUnits(int scale) const {
    const Decimal units = rescaled(scale);
    bool ok = false;
    const qint64 number = ((units.m_negative ? "-" : "") + units.m_digits).toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

QString Decimal::toString() const {
    QByteArray digits = m_digits;
    if (digits.size() <= m_scale)
        digits.prepend(QByteArray(m_scale + 1 - digits.size(), '0'));
    if (m_scale > 0)
        digits.insert(digits.size() - m_scale, '.');
    return QString::fromLatin1((m_negative ? "-" : "") + digits);
}

double Decimal::toDouble() const {
    return QLocale::c().toDouble(toString());
}

std::strong_ordering Decimal::compare(const Decimal& other) const {
    if (m_negative != other.m_negative)
        return m_negative ? std::strong_ordering::less : std::strong_ordering::greater;
    const int scale = std::max(m_scale, other.m_scale);
    const QByteArray mine = rescaled(scale).m_digits;
    const QByteArray theirs = other.rescaled(scale).m_digits;
    // Digits without leading zeros: the longer is the larger, equal lengths
    // order as their text.
    const std::strong_ordering magnitude =
        mine.size() != theirs.size() ? mine.size() <=> theirs.size() : mine.compare(theirs) <=> 0;
    return m_negative ? 0 <=> magnitude : magnitude;
}

} // namespace kpl
