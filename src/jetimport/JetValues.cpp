#include "jetimport/JetValues.h"

#include "database/FieldType.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetColumn.h"

#include <QTimeZone>
#include <QtEndian>
#include <cmath>

namespace kpl {

namespace {

constexpr double kFirstJetDay = -657434.0; // 1 January 100
constexpr double kLastJetDay = 2958466.0;  // 1 January 10000, excluded
constexpr qint64 kSecondsPerDay = 86400;
constexpr qsizetype kDecimalSize = 17;
constexpr quint32 kBillion = 1000000000;

template <class T> T littleEndian(QByteArrayView bytes) {
    return qFromLittleEndian<T>(bytes.data());
}

} // namespace

int jetStoredSize(int jetType) {
    switch (jetType) {
    case jet::Byte:
        return 1;
    case jet::Integer:
        return 2;
    case jet::Long:
    case jet::Single:
        return 4;
    case jet::Double:
    case jet::Currency:
    case jet::DateTime:
        return 8;
    case jet::ReplicationId:
        return 16;
    default:
        return -1;
    }
}

QDateTime jetDateTime(double days) {
    if (!(days >= kFirstJetDay && days < kLastJetDay))
        failImport(QStringLiteral("A date lies outside the range Jet stores (%1 days).")
                       .arg(days, 0, 'g', 17));
    const double whole = std::trunc(days);
    const auto seconds = qint64(std::llround(std::fabs(days - whole) * double(kSecondsPerDay)));
    const QDate date = QDate(1899, 12, 30).addDays(qint64(whole));
    return QDateTime(date, QTime(0, 0), QTimeZone::utc()).addSecs(seconds);
}

Decimal jetCurrency(qint64 tenThousandths) {
    return Decimal::fromUnits(tenThousandths, kCurrencyScale);
}

Decimal jetDecimal(QByteArrayView bytes, int scale) {
    if (bytes.size() != kDecimalSize)
        failImport(QStringLiteral("A Decimal value of %1 bytes is damaged.").arg(bytes.size()));
    quint32 words[4];
    for (int i = 0; i < 4; ++i)
        words[i] = qFromLittleEndian<quint32>(bytes.data() + 1 + 4 * i);
    // Nine digits at a time, by long division of the 128-bit magnitude.
    QByteArray digits;
    while (words[0] != 0 || words[1] != 0 || words[2] != 0 || words[3] != 0) {
        quint64 remainder = 0;
        for (quint32& word : words) {
            const quint64 current = remainder << 32 | word;
            word = quint32(current / kBillion);
            remainder = current % kBillion;
        }
        digits.prepend(QByteArray::number(remainder).rightJustified(9, '0'));
    }
    return Decimal(bytes[0] != 0, digits, scale);
}

QString jetGuidText(QByteArrayView bytes) {
    const QByteArray hex = QByteArray(bytes.data(), bytes.size()).toHex().toUpper();
    // The first three groups are stored little endian: swap their bytes.
    const auto swapped = [&hex](int from, int byteCount) {
        QByteArray group;
        for (int i = byteCount - 1; i >= 0; --i)
            group += hex.mid(2 * (from + i), 2);
        return group;
    };
    return QStringLiteral("{%1-%2-%3-%4-%5}")
        .arg(QLatin1String(swapped(0, 4)), QLatin1String(swapped(4, 2)),
             QLatin1String(swapped(6, 2)), QLatin1String(hex.mid(16, 4)),
             QLatin1String(hex.mid(20, 12)));
}

QVariant fixedValue(int jetType, QByteArrayView bytes) {
    if (jetType == jet::Binary)
        return QByteArray(bytes.data(), bytes.size());
    if (bytes.size() != jetStoredSize(jetType))
        failImport(QStringLiteral("A value of %1 bytes does not fit its column (type %2).")
                       .arg(bytes.size())
                       .arg(jetType));
    switch (jetType) {
    case jet::Byte:
        return qint64(static_cast<quint8>(bytes[0]));
    case jet::Integer:
        return qint64(littleEndian<qint16>(bytes));
    case jet::Long:
        return qint64(littleEndian<qint32>(bytes));
    case jet::Single:
        return double(littleEndian<float>(bytes));
    case jet::Double:
        return littleEndian<double>(bytes);
    case jet::Currency:
        return QVariant::fromValue(jetCurrency(littleEndian<qint64>(bytes)));
    case jet::DateTime:
        return jetDateTime(littleEndian<double>(bytes));
    default:
        return jetGuidText(bytes);
    }
}

} // namespace kpl
