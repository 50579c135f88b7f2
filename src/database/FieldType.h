#pragma once

#include <QString>

#include <utility>

namespace kpl {

// Column types as the preset tables declare them. The declared type text of
// a column names the type the way the old database engine did ("TEXT(50)",
// "LONG", "DATETIME" ...), so that a table definition read from a template
// can be re-created with the same type and size.
enum class FieldType {
    Text,     // TEXT(n); size 0 is text without a limit, declared plain TEXT
    Memo,     // long text
    Byte,     // 0 to 255
    Short,    // 16-bit whole number
    Long,     // 32-bit whole number
    Single,   // floating point, declared SINGLE
    Double,   // floating point, declared DOUBLE
    Currency, // fixed point with four decimals, a 64-bit count of ten-thousandths
    DateTime, // stored as "yyyy-MM-dd HH:mm:ss"
    Boolean,  // stored as 1 or 0
    Binary,   // bytes
    Decimal,  // exact fixed point, DECIMAL(precision, scale)
    Numeric,  // SQLite's NUMERIC, and declarations of no known type
    Untyped,  // no declared type: values come back as they are stored
};

struct ColumnType {
    FieldType type = FieldType::Untyped;
    int size = 0;
    int precision = 0; // Decimal only: digits in all
    int scale = 0;     // Decimal only: digits after the point
    bool operator==(const ColumnType&) const = default;
};

// The precision and scale of a Decimal declared without them.
constexpr int kDefaultDecimalPrecision = 18;
constexpr int kDefaultDecimalScale = 0;
// The digits after the point of a Currency value.
constexpr int kCurrencyScale = 4;
// Precision and scale of a Currency column declared "CURRENCY(19,4)", as this
// layer declares it: its cells are stored as 64-bit counts of
// ten-thousandths, exact and in the engine's order. A column declared plain
// CURRENCY or MONEY (files of earlier versions, other programs) holds the
// number that gives the value back (a whole number, a double, or the text of
// a longer decimal in a blob) and reports precision and scale 0.
constexpr std::pair<int, int> kCountedCurrency{19, kCurrencyScale};

// The type and size a declared column type stands for. Jet's type names and
// their usual synonyms are recognised regardless of letter case; any other
// declaration falls back to SQLite's affinity rules (INT -> Long, CHAR, CLOB
// or TEXT -> Text, BLOB -> Binary, REAL, FLOA or DOUB -> Double, else
// Numeric; nothing at all -> Untyped). Text sizes come from "(n)"; the other
// types report their fixed storage size in bytes, as the old engine did.
// DECIMAL and DEC are Decimal, with precision and scale from "(p, s)" (18
// and 0 where they are left out); CURRENCY with any "(...)" is the counted
// Currency of kCountedCurrency.
ColumnType parseDeclaredType(const QString& declaration);

// The declaration a new column of `type` gets: the canonical Jet name, with
// the size for Text ("TEXT(50)") and precision and scale for Decimal
// ("DECIMAL(18,4)"; precision 0 stands for the default), Currency as
// "CURRENCY(19,4)". Memo is declared
// LONGTEXT, Jet's other name for it, because that gives the column SQLite's
// text affinity: a column declared MEMO would turn the text "007" into the
// number 7.
QString declaredTypeName(FieldType type, int size, int precision = 0, int scale = 0);

// Whether values of the type are text values.
bool isTextType(FieldType type);
// Whether values of the type are whole numbers (delivered as qint64).
bool isWholeNumberType(FieldType type);

} // namespace kpl
