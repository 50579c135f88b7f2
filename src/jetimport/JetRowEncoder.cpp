#include "jetimport/JetRowEncoder.h"

#include "database/Decimal.h"
#include "database/FieldType.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetValues.h"

#include <QDateTime>
#include <QTimeZone>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kpl {

namespace {

constexpr qsizetype kDecimalSize = 17;
constexpr int kDecimalMostDigits = 28;
constexpr qint64 kSecondsPerDay = 86400;

// The bytes a column of a type the writer stores takes in the fixed part
// of a row; 0 for Yes/No (its value is its bit in the null mask) and for
// the types it does not store.
int fixedSize(int type) {
    if (type == jet::Decimal)
        return int(kDecimalSize);
    if (type == jet::ReplicationId)
        return 0;
    return std::max(jetStoredSize(type), 0);
}

[[noreturn]] void failValue(const JetColumn& column, const QString& reason) {
    failImport(QStringLiteral("The value of column %1 cannot be stored: %2.").arg(column.name, reason));
}

template <class T> QByteArray littleEndian(T value) {
    QByteArray bytes(sizeof(T), Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

qint64 wholeNumber(const JetColumn& column, const QVariant& value, qint64 low, qint64 high) {
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok || number < low || number > high)
        failValue(column, QStringLiteral("%1 is out of the type's range").arg(value.toString()));
    return number;
}

// A Currency or Decimal value as the database layer holds it (a Decimal),
// or as a number or its text.
Decimal decimalOf(const JetColumn& column, const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<Decimal>())
        return value.value<Decimal>();
    const std::optional<Decimal> decimal = Decimal::fromText(value.toString());
    if (!decimal)
        failValue(column, QStringLiteral("%1 is no number").arg(value.toString()));
    return *decimal;
}

// Days since 30 December 1899, the fraction the time of day whatever the
// sign of the whole part (the inverse of reading a Jet date).
double jetDays(const JetColumn& column, const QDateTime& time) {
    const QDateTime utc = time.toTimeZone(QTimeZone::utc());
    if (!time.isValid() || utc.date().year() < 100 || utc.date().year() > 9999)
        failValue(column, QStringLiteral("the date lies outside Jet's range"));
    const qint64 days = QDate(1899, 12, 30).daysTo(utc.date());
    const double fraction =
        double(utc.time().msecsSinceStartOfDay()) / 1000.0 / double(kSecondsPerDay);
    return days < 0 ? double(days) - fraction : double(days) + fraction;
}

// A Decimal value: the sign byte, then the 96-bit magnitude at the column's
// scale in four 32-bit words, the most significant first.
QByteArray jetDecimalBytes(const JetColumn& column, const Decimal& value) {
    const Decimal scaled = value.rescaled(column.scale);
    QString digits = scaled.toString();
    const bool negative = digits.startsWith('-');
    digits.remove('-').remove('.');
    if (scaled.integerDigits() > column.precision - column.scale || digits.size() > kDecimalMostDigits)
        failValue(column, QStringLiteral("%1 has more digits than the column").arg(value.toString()));
    quint32 words[4] = {0, 0, 0, 0}; // most significant first
    for (const QChar digit : digits) {
        quint64 carry = quint64(digit.digitValue());
        for (int i = 3; i >= 0; --i) {
            const quint64 current = quint64(words[i]) * 10 + carry;
            words[i] = quint32(current);
            carry = current >> 32;
        }
    }
    QByteArray bytes(1, negative ? char(0x80) : '\0');
    for (const quint32 word : words)
        bytes += littleEndian(word);
    return bytes;
}

QByteArray fixedBytes(const JetColumn& column, const QVariant& value) {
    switch (column.type) {
    case jet::Byte:
        return QByteArray(1, char(wholeNumber(column, value, 0, 255)));
    case jet::Integer:
        return littleEndian(qint16(wholeNumber(column, value, -32768, 32767)));
    case jet::Long:
        return littleEndian(qint32(wholeNumber(column, value, std::numeric_limits<qint32>::min(),
                                               std::numeric_limits<qint32>::max())));
    case jet::Single:
        return littleEndian(float(value.toDouble()));
    case jet::Double:
        return littleEndian(value.toDouble());
    case jet::Currency: {
        const QString scaled = decimalOf(column, value).rescaled(kCurrencyScale).toString();
        bool ok = false;
        const qint64 tenThousandths = QString(scaled).remove('.').toLongLong(&ok);
        if (!ok)
            failValue(column, QStringLiteral("%1 is out of the type's range").arg(scaled));
        return littleEndian(tenThousandths);
    }
    case jet::DateTime:
        return littleEndian(jetDays(column, value.toDateTime()));
    default:
        return jetDecimalBytes(column, decimalOf(column, value));
    }
}

bool fitsSingleBytes(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() > 0xff)
            return false;
    }
    return true;
}

QByteArray textBytes(const JetColumn& column, const QString& text) {
    if (text.size() * 2 > column.size)
        failValue(column, QStringLiteral("%1 characters where the column holds %2")
                              .arg(text.size())
                              .arg(column.size / 2));
    if (!text.isEmpty() && fitsSingleBytes(text))
        return QByteArray("\xff\xfe", 2) + text.toLatin1();
    QByteArray bytes;
    for (const QChar c : text)
        bytes += littleEndian(c.unicode());
    return bytes;
}

} // namespace

bool isWritableJetType(int type) {
    return type == jet::YesNo || type == jet::Text || fixedSize(type) > 0;
}

void layOutJet4Columns(QList<JetColumn>& columns) {
    int fixedOffset = 0;
    int variableIndex = 0;
    for (int i = 0; i < columns.size(); ++i) {
        JetColumn& column = columns[i];
        column.number = i;
        column.fixedLength = column.type != jet::Text;
        column.fixedOffset = 0;
        column.variableIndex = variableIndex;
        if (column.type == jet::Text) {
            ++variableIndex;
        } else if (column.type == jet::YesNo) {
            column.size = 1;
        } else {
            column.size = fixedSize(column.type);
            column.fixedOffset = fixedOffset;
            fixedOffset += column.size;
        }
    }
}

QByteArray encodeJet4Row(const QList<JetColumn>& columns, const QVariantList& values) {
    Q_ASSERT(columns.size() == values.size());
    QByteArray row = littleEndian(quint16(columns.size()));
    QByteArray nullMask((columns.size() + 7) / 8, '\0');
    const auto setBit = [&nullMask](int number) { nullMask[number / 8] = char(nullMask[number / 8] | 1 << number % 8); };
    QList<quint16> offsets;
    for (int i = 0; i < columns.size(); ++i) {
        const JetColumn& column = columns[i];
        const QVariant& value = values[i];
        if (column.type == jet::YesNo) {
            if (value.toBool())
                setBit(column.number);
        } else if (column.fixedLength) {
            const QByteArray bytes = value.isValid() ? fixedBytes(column, value) : QByteArray(column.size, '\0');
            row.append(bytes);
            if (value.isValid())
                setBit(column.number);
        }
    }
    for (int i = 0; i < columns.size(); ++i) {
        const JetColumn& column = columns[i];
        if (column.fixedLength || column.type == jet::YesNo)
            continue;
        offsets.append(quint16(row.size()));
        if (values[i].isValid()) {
            row.append(textBytes(column, values[i].toString()));
            setBit(column.number);
        }
    }
    if (!offsets.isEmpty()) {
        offsets.append(quint16(row.size()));
        for (qsizetype i = offsets.size() - 1; i >= 0; --i)
            row.append(littleEndian(offsets[i]));
        row.append(littleEndian(quint16(offsets.size() - 1)));
    }
    return row + nullMask;
}

} // namespace kpl
