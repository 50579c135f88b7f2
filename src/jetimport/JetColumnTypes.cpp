#include "jetimport/JetColumnTypes.h"

#include "database/FieldType.h"
#include "jetimport/ImportFailure.h"

#include <optional>

namespace kpl {

namespace {

// The length of a Replication ID in its "{...}" text form.
constexpr int kGuidTextLength = 38;

std::optional<FieldType> fieldType(int jetType) {
    switch (jetType) {
    case jet::YesNo:
        return FieldType::Boolean;
    case jet::Byte:
        return FieldType::Byte;
    case jet::Integer:
        return FieldType::Short;
    case jet::Long:
        return FieldType::Long;
    case jet::Currency:
        return FieldType::Currency;
    case jet::Single:
        return FieldType::Single;
    case jet::Double:
        return FieldType::Double;
    case jet::DateTime:
        return FieldType::DateTime;
    case jet::Binary:
    case jet::Ole:
        return FieldType::Binary;
    case jet::Text:
    case jet::ReplicationId:
        return FieldType::Text;
    case jet::Memo:
        return FieldType::Memo;
    case jet::Decimal:
        return FieldType::Decimal;
    default:
        return std::nullopt;
    }
}

int textLength(const JetColumn& column, bool jet4) {
    if (column.type == jet::ReplicationId)
        return kGuidTextLength;
    return jet4 ? column.size / 2 : column.size;
}

} // namespace

QString jetTypeName(int jetType) {
    switch (jetType) {
    case jet::YesNo:
        return QStringLiteral("Yes/No");
    case jet::Byte:
        return QStringLiteral("Byte");
    case jet::Integer:
        return QStringLiteral("Integer");
    case jet::Long:
        return QStringLiteral("Long Integer");
    case jet::Currency:
        return QStringLiteral("Currency");
    case jet::Single:
        return QStringLiteral("Single");
    case jet::Double:
        return QStringLiteral("Double");
    case jet::DateTime:
        return QStringLiteral("Date/Time");
    case jet::Binary:
        return QStringLiteral("Binary");
    case jet::Text:
        return QStringLiteral("Text");
    case jet::Ole:
        return QStringLiteral("OLE Object");
    case jet::Memo:
        return QStringLiteral("Memo");
    case jet::ReplicationId:
        return QStringLiteral("Replication ID");
    case jet::Decimal:
        return QStringLiteral("Decimal");
    case jet::Complex:
        return QStringLiteral("Attachment or multi-value");
    default:
        return QStringLiteral("type %1").arg(jetType);
    }
}

Field importedField(const QString& table, const JetColumn& column, bool jet4) {
    const std::optional<FieldType> type = fieldType(column.type);
    if (!type)
        failImport(QStringLiteral("Column %1 of table %2 is of type %3, which the import does not "
                                  "carry over.")
                       .arg(column.name, table, jetTypeName(column.type)));
    const int length = *type == FieldType::Text ? textLength(column, jet4) : 0;
    // The column as the layer reads back the declaration it gets.
    return fieldOf(column.name, parseDeclaredType(declaredTypeName(*type, length, column.precision,
                                                                   column.scale)));
}

TableDef importedTableDef(const QString& table, const QList<JetColumn>& columns, bool jet4) {
    TableDef definition(table);
    for (const JetColumn& column : columns)
        definition.appendField(importedField(table, column, jet4));
    return definition;
}

} // namespace kpl
