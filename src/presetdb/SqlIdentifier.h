#pragma once

#include <QString>

namespace kpl {

// A table, column or index name as it stands in a statement: in double
// quotes, with double quotes inside it doubled.
inline QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace kpl
