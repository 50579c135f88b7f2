#include "core/Failure.h"
#include "database/Decimal.h"
#include "database/FieldValue.h"
#include "jetimport/JetColumnTypes.h"
#include "jetimport/JetText.h"
#include "jetimport/JetValues.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace kpl;

Q_DECLARE_METATYPE(kpl::FieldType)

namespace {

// The failure description `action` throws; a null QString when it throws none.
template <class Action> QString failureText(Action&& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.description;
    }
    return QString();
}

} // namespace

// Decoding of stored values: the parts of the import that work on bytes
// alone, checked against values worked out by hand.
class TestJetValues : public QObject {
    Q_OBJECT
private slots:
    void decodesJet4Text_data();
    void decodesJet4Text();
    void emptyTextIsNotNull();
    void refusesDamagedJet4Text_data();
    void refusesDamagedJet4Text();
    void decodesJet3TextInTheFilesCodePage_data();
    void decodesJet3TextInTheFilesCodePage();
    void convertsJetDays_data();
    void convertsJetDays();
    void refusesDaysOutsideJetsRange_data();
    void refusesDaysOutsideJetsRange();
    void readsFixedSizeValuesExactly_data();
    void readsFixedSizeValuesExactly();
    void refusesAValueOfTheWrongSize();
    void readsDecimalsExactly_data();
    void readsDecimalsExactly();
    void mapsColumnTypes_data();
    void mapsColumnTypes();
    void carriesDecimalsOverWithPrecisionAndScale();
    void refusesTypesThatAreNotCarriedOver();
};

void TestJetValues::decodesJet4Text_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("two bytes a character") << QByteArray::fromHex("1c0438044004") << u"Мир"_qs;
    QTest::newRow("compressed") << QByteArray::fromHex("fffe616263") << u"abc"_qs;
    QTest::newRow("compressed, upper half of Latin-1")
        << QByteArray::fromHex("fffee4fca3") << u"äü£"_qs;
    QTest::newRow("compressed with a two-byte stretch")
        << QByteArray::fromHex("fffe61001c0438040062") << u"aМиb"_qs;
    QTest::newRow("compressed, starting with a two-byte stretch")
        << QByteArray::fromHex("fffe0022300061") << u"\u3022a"_qs;
    QTest::newRow("control characters kept")
        << QByteArray::fromHex("fffe01090a1f") << u"\x01\t\n\x1f"_qs;
}

void TestJetValues::decodesJet4Text() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(JetTextDecoder::jet4().decode(bytes), text);
}

void TestJetValues::emptyTextIsNotNull() {
    for (const JetTextDecoder& decoder : {JetTextDecoder::jet4(), JetTextDecoder::jet3(1252)}) {
        const QString empty = decoder.decode(QByteArray());
        QVERIFY(empty.isEmpty());
        QVERIFY(!empty.isNull());
        QVERIFY(!isNullValue(QVariant(empty)));
    }
    QVERIFY(!JetTextDecoder::jet4().decode(QByteArray::fromHex("fffe")).isNull());
}

void TestJetValues::refusesDamagedJet4Text_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("odd number of bytes") << QByteArray::fromHex("410042");
    QTest::newRow("compressed, cut inside a two-byte character")
        << QByteArray::fromHex("fffe610041");
}

void TestJetValues::refusesDamagedJet4Text() {
    QFETCH(QByteArray, bytes);
    const QString failure = failureText([&] { JetTextDecoder::jet4().decode(bytes); });
    QVERIFY2(failure.contains("damaged"), qPrintable(failure));
}

void TestJetValues::decodesJet3TextInTheFilesCodePage_data() {
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("1252") << 1252 << QByteArray::fromHex("80a3e4") << u"€£ä"_qs;
    QTest::newRow("1251") << 1251 << QByteArray::fromHex("cce8f0") << u"Мир"_qs;
    QTest::newRow("none named: 1252") << 0 << QByteArray::fromHex("80") << u"€"_qs;
    QTest::newRow("1252, the bytes it leaves undefined")
        << 1252 << QByteArray::fromHex("818d8f909d") << u"\u0081\u008d\u008f\u0090\u009d"_qs;
}

void TestJetValues::decodesJet3TextInTheFilesCodePage() {
    QFETCH(int, codePage);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(JetTextDecoder::jet3(codePage).decode(bytes), text);
}

void TestJetValues::convertsJetDays_data() {
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("stored");
    QTest::newRow("day zero") << 0.0 << "1899-12-30 00:00:00";
    QTest::newRow("noon of the next day") << 1.5 << "1899-12-31 12:00:00";
    QTest::newRow("time of day counts forward before day zero") << -1.25 << "1899-12-29 06:00:00";
    QTest::newRow("negative fraction of day zero") << -0.5 << "1899-12-30 12:00:00";
    QTest::newRow("1800") << -36522.25 << "1800-01-01 06:00:00";
    QTest::newRow("sample's 08:00") << 38751.0 + 1.0 / 3.0 << "2006-02-03 08:00:00";
    QTest::newRow("rounded up into the next day") << 0.9999999999 << "1899-12-31 00:00:00";
    QTest::newRow("first Jet day") << -657434.0 << "0100-01-01 00:00:00";
    QTest::newRow("last Jet second") << 2958465.0 + 86399.0 / 86400.0 << "9999-12-31 23:59:59";
}

// Dates are checked in the text the database layer stores them as.
void TestJetValues::convertsJetDays() {
    QFETCH(double, days);
    QFETCH(QString, stored);
    QCOMPARE(storedDateTimeText(jetDateTime(days)), stored);
}

void TestJetValues::refusesDaysOutsideJetsRange_data() {
    QTest::addColumn<double>("days");
    QTest::newRow("before the year 100") << -657435.0;
    QTest::newRow("after the year 9999") << 2958466.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
}

void TestJetValues::refusesDaysOutsideJetsRange() {
    QFETCH(double, days);
    QVERIFY(!failureText([&] { jetDateTime(days); }).isNull());
}

void TestJetValues::readsFixedSizeValuesExactly_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("Byte") << jet::Byte << QByteArray::fromHex("ff") << QVariant(qint64(255));
    QTest::newRow("Integer") << jet::Integer << QByteArray::fromHex("0080")
                             << QVariant(qint64(-32768));
    QTest::newRow("Long") << jet::Long << QByteArray::fromHex("ffffff7f")
                          << QVariant(qint64(2147483647));
    QTest::newRow("Single") << jet::Single << QByteArray::fromHex("cdcccc3d")
                            << QVariant(double(0.1f));
    QTest::newRow("Double") << jet::Double << QByteArray::fromHex("9a9999999999b93f")
                            << QVariant(0.1);
    QTest::newRow("Currency, with its four decimals")
        << jet::Currency << QByteArray::fromHex("4e61bc0000000000")
        << QVariant::fromValue(*Decimal::fromText(u"1234.5678"));
    QTest::newRow("Currency, the negative closest to zero")
        << jet::Currency << QByteArray::fromHex("ffffffffffffffff")
        << QVariant::fromValue(*Decimal::fromText(u"-0.0001"));
    QTest::newRow("Replication ID")
        << jet::ReplicationId << QByteArray::fromHex("000102030405060708090a0b0c0d0e0f")
        << QVariant(u"{03020100-0504-0706-0809-0A0B0C0D0E0F}"_qs);
    QTest::newRow("Binary") << jet::Binary << QByteArray::fromHex("00ff10")
                            << QVariant(QByteArray::fromHex("00ff10"));
}

void TestJetValues::readsFixedSizeValuesExactly() {
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(QVariant, value);
    const QVariant read = fixedValue(type, bytes);
    QCOMPARE(read.typeId(), value.typeId());
    QCOMPARE(read, value);
    // QCOMPARE compares floating point numbers fuzzily: compare all digits.
    if (value.typeId() == QMetaType::Double)
        QCOMPARE(QString::number(read.toDouble(), 'g', 17),
                 QString::number(value.toDouble(), 'g', 17));
}

void TestJetValues::refusesAValueOfTheWrongSize() {
    QVERIFY(!failureText([] { fixedValue(jet::Long, QByteArray::fromHex("010203")); }).isNull());
    QVERIFY(!failureText([] { fixedValue(jet::DateTime, QByteArray(4, '\0')); }).isNull());
}

void TestJetValues::readsDecimalsExactly_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("text");
    QTest::newRow("negative, scale 2")
        << QByteArray::fromHex("80000000000000000000000000d2040000") << 2 << "-12.34";
    QTest::newRow("zero keeps its scale") << QByteArray(17, '\0') << 4 << "0.0000";
    QTest::newRow("2^96: the most significant word first")
        << QByteArray::fromHex("0001000000000000000000000000000000") << 28
        << "7.9228162514264337593543950336";
}

void TestJetValues::readsDecimalsExactly() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, scale);
    QFETCH(QString, text);
    QCOMPARE(jetDecimal(bytes, scale).toString(), text);
}

void TestJetValues::mapsColumnTypes_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("storedSize");
    QTest::addColumn<bool>("jet4");
    QTest::addColumn<FieldType>("fieldType");
    QTest::addColumn<int>("size");
    QTest::newRow("Jet 4 Text: bytes are twice the length")
        << jet::Text << 510 << true << FieldType::Text << 255;
    QTest::newRow("Jet 3 Text") << jet::Text << 50 << false << FieldType::Text << 50;
    QTest::newRow("Memo") << jet::Memo << 0 << true << FieldType::Memo << 0;
    QTest::newRow("Byte") << jet::Byte << 1 << true << FieldType::Byte << 1;
    QTest::newRow("Integer") << jet::Integer << 2 << true << FieldType::Short << 2;
    QTest::newRow("Long") << jet::Long << 4 << true << FieldType::Long << 4;
    QTest::newRow("Single") << jet::Single << 4 << true << FieldType::Single << 4;
    QTest::newRow("Double") << jet::Double << 8 << true << FieldType::Double << 8;
    QTest::newRow("Currency") << jet::Currency << 8 << true << FieldType::Currency << 8;
    QTest::newRow("Date/Time") << jet::DateTime << 8 << true << FieldType::DateTime << 8;
    QTest::newRow("Yes/No") << jet::YesNo << 0 << false << FieldType::Boolean << 1;
    QTest::newRow("OLE") << jet::Ole << 0 << true << FieldType::Binary << 0;
    QTest::newRow("Binary") << jet::Binary << 255 << true << FieldType::Binary << 0;
    QTest::newRow("Replication ID") << jet::ReplicationId << 16 << true << FieldType::Text << 38;
}

void TestJetValues::mapsColumnTypes() {
    QFETCH(int, type);
    QFETCH(int, storedSize);
    QFETCH(bool, jet4);
    QFETCH(FieldType, fieldType);
    QFETCH(int, size);
    const Field field = importedField("T", JetColumn{"C", type, storedSize}, jet4);
    // Precision and scale: see carriesDecimalsOverWithPrecisionAndScale.
    QCOMPARE((Field{field.name, field.type, field.size}), (Field{"C", fieldType, size}));
}

void TestJetValues::carriesDecimalsOverWithPrecisionAndScale() {
    JetColumn net{"Net", jet::Decimal, 17};
    net.precision = 28;
    net.scale = 6;
    QCOMPARE(importedField("T", net, true), (Field{"Net", FieldType::Decimal, 16, 28, 6}));
}

void TestJetValues::refusesTypesThatAreNotCarriedOver() {
    const QString failure = failureText([] {
        importedTableDef("Prices", {JetColumn{"Id", jet::Long, 4}, {"Net", jet::Complex, 4}}, true);
    });
    QVERIFY2(failure.contains("Net") && failure.contains("Prices") &&
                 failure.contains("Attachment"),
             qPrintable(failure));
}

QTEST_APPLESS_MAIN(TestJetValues)
#include "tst_jetvalues.moc"
