#pragma once

#include <QString>

namespace kpl {

// Line breaks in composed message and log texts: a line feed followed by a
// carriage return, in that order.
inline QString lfCr() {
    return QStringLiteral("\n\r");
}
// Double quote, as the texts splice it in.
inline QString quote() {
    return QStringLiteral("\"");
}

} // namespace kpl
