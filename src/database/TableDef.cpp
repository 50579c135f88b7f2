#include "database/TableDef.h"

#include "database/DbError.h"
#include "internal/SqlIdentifier.h"

#include <QStringList>
#include <utility>

namespace kpl {

TableDef::TableDef(QString name) : m_name(std::move(name)) {}

const Field& TableDef::field(int index) const {
    if (index < 0 || index >= fieldCount())
        throw DbError::numbered(db::ItemNotFound);
    return m_fields.at(index);
}

void TableDef::appendField(const Field& field) {
    m_fields.append(field);
}

QString TableDef::createStatement() const {
    if (m_fields.isEmpty())
        throw DbError::numbered(db::NoFieldDefined);
    QStringList columns;
    for (const Field& field : m_fields) {
        const QString type = declaredTypeName(field.type, field.size, field.precision, field.scale);
        columns.append(type.isEmpty() ? quoteIdentifier(field.name)
                                      : quoteIdentifier(field.name) + QLatin1Char(' ') + type);
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(m_name), columns.join(", "));
}

QString TableDef::insertStatement() const {
    QStringList columns;
    for (const Field& field : m_fields)
        columns.append(field.name);
    return kpl::insertStatement(m_name, columns);
}

} // namespace kpl
