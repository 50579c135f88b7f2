#include "presetdb/Conversions.h"

#include "core/Failure.h"

#include <cmath>
#include <limits>

namespace kpl {

QString valueText(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

qint16 toInt16(qint64 value) {
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        raise(vb::Overflow);
    return static_cast<qint16>(value);
}

qint16 cellToInt16(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        raise(vb::InvalidUseOfNull);
    bool ok = false;
    const double number = value.typeId() == QMetaType::QString
                              ? value.toString().trimmed().toDouble(&ok)
                              : value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        raise(vb::TypeMismatch);
    const double rounded = std::nearbyint(number); // the default rounding: half to even
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        raise(vb::Overflow);
    return static_cast<qint16>(rounded);
}

std::optional<double> cellNumber(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    bool ok = false;
    const double number = value.typeId() == QMetaType::QString
                              ? value.toString().trimmed().toDouble(&ok)
                              : value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

} // namespace kpl
