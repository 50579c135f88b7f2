#include "database/FieldValue.h"

#include "core/WholeNumber.h"
#include "database/DbError.h"
#include "database/Decimal.h"

#include <QLocale>
#include <cmath>
#include <limits>
#include <optional>

namespace kpl {

bool isWholeNumberVariant(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

namespace {

bool isFloatingVariant(const QVariant& value) {
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

bool isDecimalVariant(const QVariant& value) {
    return value.typeId() == qMetaTypeId<Decimal>();
}

std::optional<double> realNumber(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    if (isWholeNumberVariant(value) || isFloatingVariant(value) || isDecimalVariant(value))
        return value.toDouble();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    bool ok = false;
    const double number = QLocale::c().toDouble(value.toString().trimmed(), &ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

// Fractions are rounded half to even, as the old engine rounded them.
std::optional<qint64> wholeNumber(const QVariant& value) {
    if (isWholeNumberVariant(value))
        return value.toLongLong();
    if (isDecimalVariant(value))
        return value.value<Decimal>().rescaled(0).toWholeNumber();
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 number = QLocale::c().toLongLong(value.toString().trimmed(), &ok);
        if (ok)
            return number;
    }
    const std::optional<double> real = realNumber(value);
    if (!real || !std::isfinite(*real) || std::fabs(*real) >= 9.2e18)
        return std::nullopt;
    return qint64(std::nearbyint(*real));
}

// Text is read as decimal text; a blob is the text of a decimal with more
// digits than a double holds, as the layer stores it.
std::optional<Decimal> decimal(const QVariant& value) {
    if (isDecimalVariant(value))
        return value.value<Decimal>();
    if (value.typeId() == QMetaType::Bool)
        return Decimal(false, value.toBool() ? "1" : "0", 0);
    if (isWholeNumberVariant(value))
        return Decimal::fromText(QString::number(value.toLongLong()));
    if (isFloatingVariant(value))
        return Decimal::fromDouble(value.toDouble());
    if (value.typeId() == QMetaType::QString)
        return Decimal::fromText(value.toString());
    if (value.typeId() == QMetaType::QByteArray)
        return Decimal::fromText(QString::fromLatin1(value.toByteArray()));
    return std::nullopt;
}

std::optional<bool> boolean(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        for (const char* word : {"true", "yes", "on"}) {
            if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
                return true;
        }
        for (const char* word : {"false", "no", "off"}) {
            if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
                return false;
        }
    }
    const std::optional<double> number = realNumber(value);
    return number ? std::optional<bool>(*number != 0.0) : std::nullopt;
}

std::optional<QDateTime> dateTime(const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = value.toString().trimmed();
    for (const char* format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm:ss.zzz",
                               "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        const QDateTime parsed = QDateTime::fromString(text, QLatin1String(format));
        if (parsed.isValid())
            return parsed;
    }
    return std::nullopt;
}

QString text(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return storedDateTimeText(value.toDateTime());
    case QMetaType::QDate:
        return storedDateTimeText(value.toDate().startOfDay());
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

std::optional<QByteArray> bytes(const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    if (value.typeId() == QMetaType::QString)
        return value.toString().toUtf8();
    return std::nullopt;
}

QVariant untyped(const QVariant& value) {
    if (isWholeNumberVariant(value))
        return QVariant(value.toLongLong());
    if (isFloatingVariant(value))
        return QVariant(value.toDouble());
    return value;
}

template <class T> std::optional<QVariant> wrap(const std::optional<T>& value) {
    return value ? std::optional<QVariant>(QVariant::fromValue(*value)) : std::nullopt;
}

// The kind of value a column of `type` holds, where no conversion can change
// a value of that kind; Unknown for Currency and Decimal, which round.
QMetaType::Type naturalKind(FieldType type) {
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        return QMetaType::QString;
    case FieldType::Byte:
    case FieldType::Short:
    case FieldType::Long:
        return QMetaType::LongLong;
    case FieldType::Single:
    case FieldType::Double:
    case FieldType::Numeric:
        return QMetaType::Double;
    case FieldType::DateTime:
        return QMetaType::QDateTime;
    case FieldType::Boolean:
        return QMetaType::Bool;
    case FieldType::Binary:
        return QMetaType::QByteArray;
    case FieldType::Currency:
    case FieldType::Decimal:
    case FieldType::Untyped:
        break;
    }
    return QMetaType::UnknownType;
}

std::optional<QVariant> convert(const QVariant& value, const Field& field) {
    const FieldType type = field.type;
    if (value.typeId() == naturalKind(type))
        return value;
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        return QVariant(text(value));
    case FieldType::Byte:
    case FieldType::Short:
    case FieldType::Long:
        return wrap(wholeNumber(value));
    case FieldType::Single:
    case FieldType::Double:
    case FieldType::Numeric:
        return wrap(realNumber(value));
    case FieldType::Currency:
    case FieldType::Decimal: {
        const std::optional<Decimal> number = decimal(value);
        const int scale = type == FieldType::Currency ? kCurrencyScale : field.scale;
        return wrap(number ? std::optional(number->rescaled(scale)) : std::nullopt);
    }
    case FieldType::DateTime:
        return wrap(dateTime(value));
    case FieldType::Boolean:
        return wrap(boolean(value));
    case FieldType::Binary:
        return wrap(bytes(value));
    case FieldType::Untyped:
        break;
    }
    return untyped(value);
}

bool fitsPrecision(const QVariant& value, const Field& field) {
    return field.precision <= 0 ||
           value.value<Decimal>().integerDigits() <= field.precision - field.scale;
}

// Currency counts ten-thousandths in 64 bits.
bool fitsCurrency(const QVariant& value) {
    static const Decimal largest = *Decimal::fromText(
        QString::number(std::numeric_limits<qint64>::max()) + QStringLiteral("e-4"));
    static const Decimal smallest = *Decimal::fromText(
        QString::number(std::numeric_limits<qint64>::min()) + QStringLiteral("e-4"));
    const Decimal number = value.value<Decimal>();
    return number.compare(smallest) >= 0 && number.compare(largest) <= 0;
}

bool isCountedCurrency(const Field& field) {
    return field.type == FieldType::Currency && field.precision == kCountedCurrency.first &&
           field.scale == kCountedCurrency.second;
}

bool fitsWholeNumberType(qint64 number, FieldType type) {
    switch (type) {
    case FieldType::Byte:
        return fitsIn<quint8>(number);
    case FieldType::Short:
        return fitsIn<qint16>(number);
    case FieldType::Long:
        return fitsIn<qint32>(number);
    default:
        return true;
    }
}

} // namespace

bool isNullValue(const QVariant& value) {
    // The kinds cells hold are never null once valid; only other kinds
    // (a null pointer, say) need the general test.
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::QString:
    case QMetaType::Bool:
        return false;
    default:
        return value.isNull();
    }
}

bool isTextValue(const QVariant& value) {
    return value.typeId() == QMetaType::QString;
}

QVariant toFieldValue(const QVariant& value, const Field& field) {
    if (isNullValue(value))
        return QVariant();
    std::optional<QVariant> converted = convert(value, field);
    if (!converted)
        throw DbError::numbered(db::ConversionError);
    const FieldType type = field.type;
    if ((isWholeNumberType(type) && !fitsWholeNumberType(converted->value<qint64>(), type)) ||
        (type == FieldType::Decimal && !fitsPrecision(*converted, field)) ||
        (type == FieldType::Currency && !fitsCurrency(*converted)))
        throw DbError::numbered(db::NumericFieldOverflow);
    return std::move(*converted);
}

QVariant toStoredValue(const QVariant& cell, const Field& field) {
    if (!isCountedCurrency(field) || !isDecimalVariant(cell))
        return cell;
    const std::optional<qint64> units = cell.value<Decimal>().toUnits(kCurrencyScale);
    return units ? QVariant(*units) : cell;
}

QVariant fromStoredValue(QVariant stored, const Field& field) {
    if (isNullValue(stored))
        return QVariant();
    if (isCountedCurrency(field) && stored.typeId() == QMetaType::LongLong)
        return QVariant::fromValue(Decimal::fromUnits(stored.toLongLong(), kCurrencyScale));
    if (stored.typeId() == naturalKind(field.type))
        return stored;
    std::optional<QVariant> converted = convert(stored, field);
    return converted ? std::move(*converted) : stored;
}

QString storedDateTimeText(const QDateTime& dateTime) {
    return dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace kpl
