#pragma once

#include "LayerOnly.h"

#include <QString>
#include <QStringList>

namespace kpl {

// A table, column or index name as it stands in a statement: in double
// quotes, with double quotes inside it doubled.
inline QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The statement that adds a row to `table` with a value bound by position
// for each of `columns`; without columns, a row of the columns' defaults.
inline QString insertStatement(const QString& table, const QStringList& columns) {
    if (columns.isEmpty())
        return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(table));
    QStringList quoted;
    for (const QString& column : columns)
        quoted.append(quoteIdentifier(column));
    const QStringList placeholders(columns.size(), QStringLiteral("?"));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quoteIdentifier(table), quoted.join(", "), placeholders.join(", "));
}

} // namespace kpl
