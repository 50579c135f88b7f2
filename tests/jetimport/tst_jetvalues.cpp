#include "JetSamples.h"
#include "core/Failure.h"
#include "database/Decimal.h"
#include "database/FieldValue.h"
#include "jetimport/JetColumnTypes.h"
#include "jetimport/JetDataPageBuilder.h"
#include "jetimport/JetPageFile.h"
#include "jetimport/JetRowEncoder.h"
#include "jetimport/JetTable.h"
#include "jetimport/JetText.h"
#include "jetimport/JetUsageMap.h"
#include "jetimport/JetValues.h"

#include <QBuffer>
#include <QTest>
#include <QTimeZone>
#include <cmath>
#include <limits>

using namespace kpl;
using test::failureText;

Q_DECLARE_METATYPE(kpl::FieldType)

// Decoding of stored values: the parts of the import that work on bytes
// alone, checked against values worked out by hand.
class TestJetValues : public QObject {
    Q_OBJECT
private slots:
    void encodedRowsReadBack_data();
    void encodedRowsReadBack();
    void refusesValuesTheirColumnCannotHold_data();
    void refusesValuesTheirColumnCannotHold();
    void packsRowsIntoDataPages_data();
    void packsRowsIntoDataPages();
    void pageFileWritesWholePagesWithinTheFile();
    void inlineUsageMapsReadBack_data();
    void inlineUsageMapsReadBack();
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

void TestJetValues::encodedRowsReadBack_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("value");
    const auto decimal = [](const char* text) {
        return QVariant::fromValue(*Decimal::fromText(QString::fromLatin1(text)));
    };
    const auto utc = [](int year, int month, int day, int hour) {
        return QVariant(QDateTime(QDate(year, month, day), QTime(hour, 0), QTimeZone::utc()));
    };
    QTest::newRow("Byte") << jet::Byte << QVariant(qint64(255));
    QTest::newRow("Integer") << jet::Integer << QVariant(qint64(-32768));
    QTest::newRow("Long") << jet::Long << QVariant(qint64(2147483647));
    QTest::newRow("Single") << jet::Single << QVariant(-1.5);
    QTest::newRow("Double") << jet::Double << QVariant(0.1);
    QTest::newRow("Currency") << jet::Currency << decimal("-922337203685477.5808");
    QTest::newRow("Date/Time") << jet::DateTime << utc(2006, 2, 3, 8);
    QTest::newRow("Date/Time before day zero") << jet::DateTime << utc(1899, 12, 29, 6);
    QTest::newRow("Decimal") << jet::Decimal << decimal("-123456789012345678.9012");
    QTest::newRow("Yes/No") << jet::YesNo << QVariant(true);
    QTest::newRow("Text, single bytes") << jet::Text << QVariant(u"Grenzwert ä"_qs);
    QTest::newRow("Text, two bytes a character") << jet::Text << QVariant(u"Мир"_qs);
    QTest::newRow("Text, empty") << jet::Text << QVariant(u""_qs);
    QTest::newRow("Null") << jet::Long << QVariant();
}

// A row of the column under test between a Text and a Yes/No column, encoded
// and read back through the reader's row and value decoding.
void TestJetValues::encodedRowsReadBack() {
    QFETCH(int, type);
    QFETCH(QVariant, value);
    QList<JetColumn> columns{
        {.name = "Before", .type = jet::Text, .size = 20},
        {.name = "Value", .type = type, .size = 40, .precision = 28, .scale = 4},
        {.name = "After", .type = jet::YesNo}};
    layOutJet4Columns(columns);
    const QVariantList values{u"vorher"_qs, value, true};
    const QByteArray bytes = encodeJet4Row(columns, values);
    const JetFormat& format = JetFormat::of(FileKind::Jet4);
    const JetRow row(bytes, format);
    const JetPages noPages(format, [](quint32, QByteArray&) { return u"no pages"_qs; });
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(jetValue(row, columns[i], JetTextDecoder::jet4(), noPages), values[i]);
}

void TestJetValues::refusesValuesTheirColumnCannotHold_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("reason");
    QTest::newRow("Byte") << jet::Byte << QVariant(qint64(256)) << "out of the type's range";
    QTest::newRow("Integer") << jet::Integer << QVariant(qint64(-32769))
                             << "out of the type's range";
    QTest::newRow("Long") << jet::Long << QVariant(qint64(1) << 31) << "out of the type's range";
    QTest::newRow("Currency") << jet::Currency << QVariant::fromValue(*Decimal::fromText(u"1e15"))
                              << "out of the type's range";
    QTest::newRow("Decimal beyond its precision")
        << jet::Decimal << QVariant::fromValue(*Decimal::fromText(u"1e15")) << "more digits";
    QTest::newRow("Date/Time after 9999")
        << jet::DateTime << QVariant(QDateTime(QDate(10000, 1, 1), QTime(0, 0), QTimeZone::utc()))
        << "outside Jet's range";
    QTest::newRow("Text longer than its column")
        << jet::Text << QVariant(u"123456789012345678901"_qs)
        << "21 characters where the column holds 20";
}

void TestJetValues::refusesValuesTheirColumnCannotHold() {
    QFETCH(int, type);
    QFETCH(QVariant, value);
    QFETCH(QString, reason);
    QList<JetColumn> columns{
        {.name = "Value", .type = type, .size = 40, .precision = 18, .scale = 4}};
    layOutJet4Columns(columns);
    const QString failure = failureText([&] { encodeJet4Row(columns, {value}); });
    QVERIFY2(failure.contains(u"column Value") && failure.contains(reason), qPrintable(failure));
}

void TestJetValues::packsRowsIntoDataPages_data() {
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("rowSize");
    QTest::addColumn<int>("pageCount");
    QTest::newRow("one row") << 1 << 100 << 1;
    QTest::newRow("at most 255 rows a page") << 256 << 4 << 2;
    QTest::newRow("as many rows as their bytes allow") << 3 << 2000 << 2;
    QTest::newRow("the longest rows") << 2 << kJet4LongestRow << 2;
    QTest::newRow("a row too long") << 1 << kJet4LongestRow + 1 << 0;
}

// The pages read back through the reader: every row in order, each page
// the owner's, its free space what its rows leave.
void TestJetValues::packsRowsIntoDataPages() {
    QFETCH(int, rowCount);
    QFETCH(int, rowSize);
    QFETCH(int, pageCount);
    QList<QByteArray> rows;
    for (int i = 0; i < rowCount; ++i)
        rows.append(QByteArray(rowSize, char('a' + i % 26)));
    if (pageCount == 0) {
        QVERIFY(failureText([&] { buildJet4DataPages(7, rows); }).contains("at most 4060"));
        return;
    }
    const QList<QByteArray> pages = buildJet4DataPages(7, rows);
    QCOMPARE(pages.size(), pageCount);
    QList<QByteArray> readBack;
    for (const QByteArray& bytes : pages) {
        const JetDataPage page(1, bytes, JetFormat::of(FileKind::Jet4));
        QVERIFY(page.belongsTo(7));
        for (int row = 0; row < page.rowCount(); ++row)
            readBack.append(page.row(row).toByteArray());
        QCOMPARE(page.freeSpace(), 4096 - 14 - page.rowCount() * (2 + rowSize));
    }
    QCOMPARE(readBack, rows);
}

// A one-page Jet 4 file in memory: pages are read and written whole, the
// page after the last appended, none further out.
void TestJetValues::pageFileWritesWholePagesWithinTheFile() {
    QByteArray header(4096, '\0');
    header.replace(0, 21, QByteArray("\0\1\0\0Standard Jet DB\0\1", 21));
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(unmaskedJetHeader(header, FileKind::Jet4)); // no code page, no key
    QVERIFY(buffer->open(QIODevice::ReadWrite));
    JetPageFile file(std::move(buffer));
    QCOMPARE(file.header().kind, FileKind::Jet4);
    const QByteArray page(4096, 'x');
    file.write(1, page);
    QCOMPARE(file.pageCount(), 2u);
    QCOMPARE(file.page(1), page);
    QVERIFY(failureText([&] { file.write(3, page); }).contains("beyond the end"));
    QVERIFY(failureText([&] { file.page(2); }).contains("the file ends before it"));
}

void TestJetValues::inlineUsageMapsReadBack_data() {
    QTest::addColumn<QList<quint32>>("marked");
    QTest::addColumn<bool>("fits");
    QTest::newRow("a table's pages") << QList<quint32>{13, 14, 17, 300} << true;
    QTest::newRow("none") << QList<quint32>{} << true;
    QTest::newRow("the last bit") << QList<quint32>{9, 8 + 511} << true;
    QTest::newRow("beyond the bitmap") << QList<quint32>{9, 8 + 512} << false;
}

// A 69-byte map row on a data page, read back by the reader's usage maps.
void TestJetValues::inlineUsageMapsReadBack() {
    QFETCH(QList<quint32>, marked);
    QFETCH(bool, fits);
    const std::optional<QByteArray> map = inlineUsageMap(marked, 69);
    QCOMPARE(map.has_value(), fits);
    if (!fits)
        return;
    QCOMPARE(map->size(), 69);
    const QByteArray page = buildJet4DataPages(2, {*map}).first();
    const JetPages pages(JetFormat::of(FileKind::Jet4), [&](quint32, QByteArray& bytes) {
        bytes = page;
        return QString();
    });
    QCOMPARE(usageMapPages(pages, JetRowPointer{1, 0}), marked);
}

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
