#include "presetdb/Conversions.h"

#include "core/WholeNumber.h"

#include <cmath>

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

qint16 cellToInt16(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        raise(vb::InvalidUseOfNull);
    const std::optional<double> number = cellNumber(value);
    if (!number)
        raise(vb::TypeMismatch);
    return roundTo<qint16>(*number);
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
