#pragma once

#include "database/FieldType.h"

#include <QList>
#include <QString>

namespace kpl {

// One column of a table definition or a recordset: its name, type and size
// (the text length for Text, the storage size for fixed-size types), and for
// Decimal (and Currency counted in ten-thousandths) its precision and scale.
struct Field {
    QString name;
    FieldType type = FieldType::Untyped;
    int size = 0;
    int precision = 0;
    int scale = 0;
    bool operator==(const Field&) const = default;
};

// The field `name` of a column declared as `column` says.
inline Field fieldOf(const QString& name, const ColumnType& column) {
    return Field{name, column.type, column.size, column.precision, column.scale};
}

// The position of the first of `fields` (anything with a name: fields,
// columns) from `from` on whose name is `name`, letter case ignored as the
// engine ignores it; -1 when there is none.
template <class Named>
int indexOfField(const QList<Named>& fields, const QString& name, int from = 0) {
    for (int i = from; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace kpl
