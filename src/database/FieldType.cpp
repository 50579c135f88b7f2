#include "database/FieldType.h"

#include <QHash>
#include <QRegularExpression>

namespace kpl {

namespace {

const QHash<QString, FieldType>& knownTypeNames() {
    static const QHash<QString, FieldType> names{
        {"TEXT", FieldType::Text},          {"VARCHAR", FieldType::Text},
        {"CHAR", FieldType::Text},          {"CHARACTER", FieldType::Text},
        {"NVARCHAR", FieldType::Text},      {"NCHAR", FieldType::Text},
        {"STRING", FieldType::Text},        {"ALPHANUMERIC", FieldType::Text},
        {"MEMO", FieldType::Memo},          {"LONGTEXT", FieldType::Memo},
        {"LONGCHAR", FieldType::Memo},      {"NOTE", FieldType::Memo},
        {"NTEXT", FieldType::Memo},         {"CLOB", FieldType::Memo},
        {"BYTE", FieldType::Byte},          {"TINYINT", FieldType::Byte},
        {"SHORT", FieldType::Short},        {"SMALLINT", FieldType::Short},
        {"INTEGER2", FieldType::Short},     {"LONG", FieldType::Long},
        {"INTEGER", FieldType::Long},       {"INT", FieldType::Long},
        {"INTEGER4", FieldType::Long},      {"COUNTER", FieldType::Long},
        {"AUTOINCREMENT", FieldType::Long}, {"SINGLE", FieldType::Single},
        {"REAL", FieldType::Single},        {"FLOAT4", FieldType::Single},
        {"IEEESINGLE", FieldType::Single},  {"DOUBLE", FieldType::Double},
        {"FLOAT", FieldType::Double},       {"FLOAT8", FieldType::Double},
        {"IEEEDOUBLE", FieldType::Double},  {"DOUBLE PRECISION", FieldType::Double},
        {"NUMBER", FieldType::Double},      {"CURRENCY", FieldType::Currency},
        {"MONEY", FieldType::Currency},     {"DATETIME", FieldType::DateTime},
        {"DATE", FieldType::DateTime},      {"TIME", FieldType::DateTime},
        {"TIMESTAMP", FieldType::DateTime}, {"BIT", FieldType::Boolean},
        {"YESNO", FieldType::Boolean},      {"BOOLEAN", FieldType::Boolean},
        {"LOGICAL", FieldType::Boolean},    {"LOGICAL1", FieldType::Boolean},
        {"BLOB", FieldType::Binary},        {"BINARY", FieldType::Binary},
        {"VARBINARY", FieldType::Binary},   {"LONGBINARY", FieldType::Binary},
        {"OLEOBJECT", FieldType::Binary},   {"GENERAL", FieldType::Binary},
        {"IMAGE", FieldType::Binary},       {"NUMERIC", FieldType::Numeric},
        {"DECIMAL", FieldType::Decimal},    {"DEC", FieldType::Decimal},
    };
    return names;
}

// SQLite's rules for the affinity of a declared type it does not know.
FieldType typeByAffinity(const QString& name) {
    if (name.isEmpty())
        return FieldType::Untyped;
    if (name.contains("INT"))
        return FieldType::Long;
    if (name.contains("CHAR") || name.contains("CLOB") || name.contains("TEXT"))
        return FieldType::Text;
    if (name.contains("BLOB"))
        return FieldType::Binary;
    if (name.contains("REAL") || name.contains("FLOA") || name.contains("DOUB"))
        return FieldType::Double;
    return FieldType::Numeric;
}

int fixedSize(FieldType type) {
    switch (type) {
    case FieldType::Byte:
    case FieldType::Boolean:
        return 1;
    case FieldType::Short:
        return 2;
    case FieldType::Long:
    case FieldType::Single:
        return 4;
    case FieldType::Double:
    case FieldType::Currency:
    case FieldType::DateTime:
        return 8;
    case FieldType::Decimal:
        return 16;
    default:
        return 0;
    }
}

// The numbers in "(n)" or "(n, m)"; `fallback` for those left out.
std::pair<int, int> declaredNumbers(const QString& declaration, std::pair<int, int> fallback) {
    static const QRegularExpression pattern(QStringLiteral(R"(\(\s*(\d+)\s*(?:,\s*(\d+))?)"));
    const QRegularExpressionMatch match = pattern.match(declaration);
    if (match.hasCaptured(1))
        fallback.first = match.captured(1).toInt();
    if (match.hasCaptured(2))
        fallback.second = match.captured(2).toInt();
    return fallback;
}

} // namespace

ColumnType parseDeclaredType(const QString& declaration) {
    const QString upper = declaration.trimmed().toUpper();
    const qsizetype open = upper.indexOf('(');
    const QString name = upper.left(open).simplified();
    const FieldType type = knownTypeNames().value(name, typeByAffinity(name));
    if (type == FieldType::Text)
        return {type, declaredNumbers(upper, {0, 0}).first};
    if (type == FieldType::Currency && open >= 0)
        return {type, fixedSize(type), kCountedCurrency.first, kCountedCurrency.second};
    if (type != FieldType::Decimal)
        return {type, fixedSize(type)};
    const auto [precision, scale] =
        declaredNumbers(upper, {kDefaultDecimalPrecision, kDefaultDecimalScale});
    return {type, fixedSize(type), precision, scale};
}

QString declaredTypeName(FieldType type, int size, int precision, int scale) {
    switch (type) {
    case FieldType::Text:
        return size > 0 ? QStringLiteral("TEXT(%1)").arg(size) : QStringLiteral("TEXT");
    case FieldType::Memo:
        return QStringLiteral("LONGTEXT");
    case FieldType::Byte:
        return QStringLiteral("BYTE");
    case FieldType::Short:
        return QStringLiteral("SHORT");
    case FieldType::Long:
        return QStringLiteral("LONG");
    case FieldType::Single:
        return QStringLiteral("SINGLE");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    case FieldType::Currency:
        return QStringLiteral("CURRENCY(%1,%2)")
            .arg(kCountedCurrency.first)
            .arg(kCountedCurrency.second);
    case FieldType::DateTime:
        return QStringLiteral("DATETIME");
    case FieldType::Boolean:
        return QStringLiteral("BIT");
    case FieldType::Binary:
        return QStringLiteral("BLOB");
    case FieldType::Decimal:
        return QStringLiteral("DECIMAL(%1,%2)")
            .arg(precision > 0 ? precision : kDefaultDecimalPrecision)
            .arg(scale);
    case FieldType::Numeric:
        return QStringLiteral("NUMERIC");
    case FieldType::Untyped:
        break;
    }
    return QString();
}

bool isTextType(FieldType type) {
    return type == FieldType::Text || type == FieldType::Memo;
}

bool isWholeNumberType(FieldType type) {
    return type == FieldType::Byte || type == FieldType::Short || type == FieldType::Long;
}

} // namespace kpl
