#include "jetimport/JetExport.h"

#include "database/Database.h"
#include "database/FieldValue.h"
#include "database/Recordset.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetColumn.h"
#include "jetimport/JetTableRebuild.h"

#include <optional>

namespace kpl {

namespace {

// The longest Text column of a Jet table, in characters.
constexpr int kLongestJetText = 255;

std::optional<int> jetType(FieldType type) {
    switch (type) {
    case FieldType::Text:
        return jet::Text;
    case FieldType::Byte:
        return jet::Byte;
    case FieldType::Short:
        return jet::Integer;
    case FieldType::Long:
        return jet::Long;
    case FieldType::Single:
        return jet::Single;
    case FieldType::Double:
        return jet::Double;
    case FieldType::Currency:
        return jet::Currency;
    case FieldType::Decimal:
        return jet::Decimal;
    case FieldType::DateTime:
        return jet::DateTime;
    case FieldType::Boolean:
        return jet::YesNo;
    default:
        return std::nullopt;
    }
}

JetColumn jetColumn(const Field& field) {
    const std::optional<int> type = jetType(field.type);
    if (!type || (*type == jet::Text && (field.size <= 0 || field.size > kLongestJetText)))
        failImport(QStringLiteral("Column %1 has a type a Jet table cannot take.").arg(field.name));
    JetColumn column{field.name, *type, *type == jet::Text ? 2 * field.size : 0};
    column.precision = field.precision;
    column.scale = field.scale;
    return column;
}

} // namespace

void exportTableToJet(Database& database, const QString& table, const QString& jetPath,
                      platform::FileCalls& calls) {
    QList<JetColumn> columns;
    const TableDef definition = database.tableDef(table);
    for (const Field& field : definition.fields())
        columns.append(jetColumn(field));
    QList<QVariantList> rows;
    for (Recordset records = database.openRecordset(table); !records.eof(); records.moveNext()) {
        QVariantList row;
        for (int i = 0; i < records.fieldCount(); ++i) {
            const QVariant value = records.value(i);
            row.append(isNullValue(value) ? QVariant() : value);
        }
        rows.append(row);
    }
    rebuildJetTable(jetPath, table, columns, rows, calls);
}

} // namespace kpl
