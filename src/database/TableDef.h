#pragma once

#include "database/Field.h"

#include <QList>
#include <QString>

namespace kpl {

// The definition of a table: its name and its columns in order. Read from a
// database with Database::tableDef, or built with appendField and created
// with Database::appendTableDef. Only name, type and size of each column are
// part of it: no keys, defaults, constraints or indexes.
class TableDef {
public:
    explicit TableDef(QString name = QString());

    const QString& name() const { return m_name; }
    const QList<Field>& fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    // The column at `index`; failure 3265 when there is none.
    const Field& field(int index) const;
    // The position of the column named `name` (indexOfField); -1 when there
    // is none.
    int indexOf(const QString& name, int from = 0) const {
        return indexOfField(m_fields, name, from);
    }

    void appendField(const Field& field);

    // The CREATE TABLE statement for this definition; failure 3264 when it
    // has no columns.
    QString createStatement() const;
    // The INSERT statement that adds one row with a value for each column,
    // bound by position in column order.
    QString insertStatement() const;

private:
    QString m_name;
    QList<Field> m_fields;
};

} // namespace kpl
