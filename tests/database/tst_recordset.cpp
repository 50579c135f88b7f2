#include "DbTestSupport.h"
#include "database/Database.h"
#include "database/DbError.h"
#include "database/Decimal.h"
#include "database/FieldValue.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace kpl;
using test::failureNumber;

namespace {
QVariant decimal(const char* text) {
    return QVariant::fromValue(*Decimal::fromText(QString::fromLatin1(text)));
}
} // namespace

class TestRecordset : public QObject {
    Q_OBJECT
private slots:
    void init();

    void nullStaysApartFromEmptyText_data();
    void nullStaysApartFromEmptyText();
    void storedValuesFollowTheColumnType_data();
    void storedValuesFollowTheColumnType();
    void writtenValuesAreConvertedToTheColumnType_data();
    void currencyIsStoredExactlyAndInOrder();
    void writtenValuesAreConvertedToTheColumnType();
    void dateAndBinaryRoundTrip();

    void tableRecordsComeInInsertionOrder();
    void addedAndEditedRecordsPersist();
    void readsSeePendingWrites();
    void movingWithoutCurrentRecordFails();
    void fieldsAreFoundByNameIgnoringCase();

    void textComparisonIgnoresCaseOfAnsiLetters_data();
    void textComparisonIgnoresCaseOfAnsiLetters();
    void statementOverOneTableIsEditable();
    void otherStatementsAreReadOnly_data();
    void otherStatementsAreReadOnly();
    void snapshotOfOneTableIsReadOnlyWithTypedCells();

    void getRowsReadsOnFromTheCurrentRecord_data();
    void getRowsReadsOnFromTheCurrentRecord();
    void cellsRepeatedFromRowToRowAreReadAsStored_data();
    void cellsRepeatedFromRowToRowAreReadAsStored();

    void fullTableIsWalkedAndUpdatedWithoutQuadraticCost();

private:
    QString file(const QString& name) const { return m_dir->filePath(name); }
    Database databaseWith(const QString& columns);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecordset::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

Database TestRecordset::databaseWith(const QString& columns) {
    Database db = Database::create(file("Presets.mdb"));
    db.execute(QStringLiteral("CREATE TABLE PRESET_DEFS (%1)").arg(columns));
    return db;
}

void TestRecordset::nullStaysApartFromEmptyText_data() {
    QTest::addColumn<QString>("declaration");
    QTest::newRow("text") << "TEXT(50)";
    QTest::newRow("memo") << "MEMO";
    QTest::newRow("plain TEXT") << "TEXT";
}

void TestRecordset::nullStaysApartFromEmptyText() {
    QFETCH(QString, declaration);
    {
        Database db = databaseWith("c " + declaration);
        Recordset records = db.openRecordset("PRESET_DEFS");
        for (const QVariant& value : {QVariant(), QVariant(QString("")), QVariant(QString())}) {
            records.addNew();
            records.setValue(0, value);
            records.update();
        }
        db.close();
    }
    Database db = Database::open(file("Presets.mdb"));
    Recordset records = db.openRecordset("PRESET_DEFS");
    QVERIFY(isNullValue(records.value(0)));
    QVERIFY(!isTextValue(records.value(0)));
    for (int row = 0; row < 2; ++row) {
        records.moveNext();
        QVERIFY(!isNullValue(records.value(0)));
        QVERIFY(isTextValue(records.value(0)));
        QCOMPARE(records.value(0).toString(), "");
    }
    QCOMPARE(db.openRecordset("SELECT c FROM PRESET_DEFS WHERE c IS NULL").recordCount(), 1);
}

// Cells another program wrote are read as the column's type says.
void TestRecordset::storedValuesFollowTheColumnType_data() {
    QTest::addColumn<QString>("declaration");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("number in text column") << "TEXT(10)" << QVariant(12) << QVariant("12");
    QTest::newRow("number in LONGTEXT") << "LONGTEXT" << QVariant(12.5) << QVariant("12.5");
    QTest::newRow("number text in LONG") << "LONG" << QVariant("42") << QVariant(qint64(42));
    QTest::newRow("fraction in SHORT") << "SHORT" << QVariant(2.5) << QVariant(qint64(2));
    QTest::newRow("word in LONG stays") << "LONG" << QVariant("n/a") << QVariant("n/a");
    QTest::newRow("whole number in DOUBLE") << "DOUBLE" << QVariant(2) << QVariant(2.0);
    QTest::newRow("whole number in SINGLE") << "SINGLE" << QVariant(3) << QVariant(3.0);
    QTest::newRow("currency rounded") << "CURRENCY" << QVariant(1.23456) << decimal("1.2346");
    QTest::newRow("whole number in a plain CURRENCY of an older file")
        << "CURRENCY" << QVariant(5) << decimal("5.0000");
    QTest::newRow("ten-thousandths in a counted CURRENCY")
        << "CURRENCY(19,4)" << QVariant(-12345) << decimal("-1.2345");
    QTest::newRow("decimal with the column's scale")
        << "DECIMAL(18,4)" << QVariant(1234.5) << decimal("1234.5000");
    QTest::newRow("Jet true in BIT") << "BIT" << QVariant(-1) << QVariant(true);
    QTest::newRow("zero in YESNO") << "YESNO" << QVariant(0) << QVariant(false);
    QTest::newRow("date text") << "DATETIME" << QVariant("2024-03-01 12:34:56")
                               << QVariant(QDateTime(QDate(2024, 3, 1), QTime(12, 34, 56)));
    QTest::newRow("untyped keeps integer") << "" << QVariant(7) << QVariant(qint64(7));
    QTest::newRow("untyped keeps text") << "" << QVariant("7") << QVariant("7");
}

void TestRecordset::storedValuesFollowTheColumnType() {
    QFETCH(QString, declaration);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, expected);
    Database db = databaseWith("c " + declaration);
    db.execute("INSERT INTO PRESET_DEFS VALUES (?)", {stored});
    const QVariant value = db.openRecordset("PRESET_DEFS").value("c");
    QCOMPARE(value.typeId(), expected.typeId());
    QCOMPARE(value, expected);
    QCOMPARE(isTextValue(value), expected.typeId() == QMetaType::QString);
}

void TestRecordset::writtenValuesAreConvertedToTheColumnType_data() {
    QTest::addColumn<QString>("declaration");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<int>("failure");
    QTest::newRow("leading zeros kept in text")
        << "TEXT(10)" << QVariant("007") << QVariant("007") << 0;
    QTest::newRow("leading zeros kept in memo")
        << "LONGTEXT" << QVariant("007") << QVariant("007") << 0;
    QTest::newRow("number text into LONG") << "LONG" << QVariant("12") << QVariant(qint64(12)) << 0;
    QTest::newRow("half rounds to even") << "LONG" << QVariant(2.5) << QVariant(qint64(2)) << 0;
    QTest::newRow("word into LONG")
        << "LONG" << QVariant("abc") << QVariant() << db::ConversionError;
    QTest::newRow("SHORT overflow")
        << "SHORT" << QVariant(40000) << QVariant() << db::NumericFieldOverflow;
    QTest::newRow("negative BYTE")
        << "BYTE" << QVariant(-1) << QVariant() << db::NumericFieldOverflow;
    QTest::newRow("decimal text into DOUBLE") << "DOUBLE" << QVariant("1.5") << QVariant(1.5) << 0;
    QTest::newRow("decimal beyond a double's digits, half to even")
        << "DECIMAL(28,4)" << QVariant("-12345678901234567890.12345")
        << decimal("-12345678901234567890.1234") << 0;
    QTest::newRow("decimal of 17 digits, not kept by a double")
        << "DECIMAL(18,4)" << QVariant("1234567890123.4567") << decimal("1234567890123.4567") << 0;
    QTest::newRow("decimal too long for its precision")
        << "DECIMAL(4,2)" << QVariant(123.4) << QVariant() << db::NumericFieldOverflow;
    QTest::newRow("largest currency, exact")
        << "CURRENCY" << QVariant("922337203685477.5807") << decimal("922337203685477.5807") << 0;
    QTest::newRow("currency beyond its range") << "CURRENCY" << QVariant("-922337203685477.5809")
                                               << QVariant() << db::NumericFieldOverflow;
    QTest::newRow("bool into BIT") << "BIT" << QVariant(true) << QVariant(true) << 0;
    QTest::newRow("True text into BIT") << "BIT" << QVariant("True") << QVariant(true) << 0;
    QTest::newRow("bad date") << "DATETIME" << QVariant("soon") << QVariant()
                              << db::ConversionError;
}

void TestRecordset::writtenValuesAreConvertedToTheColumnType() {
    QFETCH(QString, declaration);
    QFETCH(QVariant, written);
    QFETCH(QVariant, expected);
    QFETCH(int, failure);
    Database db = databaseWith("c " + declaration);
    Recordset records = db.openRecordset("PRESET_DEFS");
    records.addNew();
    QCOMPARE(failureNumber([&] { records.setValue("c", written); }), failure);
    if (failure != 0)
        return;
    QCOMPARE(records.value("c"), expected);
    records.update();
    QCOMPARE(db.openRecordset("PRESET_DEFS").value("c"), expected);
}

// Values beyond a double's digits come back as written, and the engine
// orders and compares them as numbers.
void TestRecordset::currencyIsStoredExactlyAndInOrder() {
    Database db = databaseWith("c " + declaredTypeName(FieldType::Currency, 8));
    const QList<QVariant> written{decimal("5.0000"), decimal("-922337203685.4775"),
                                  decimal("1234567890123.4567"), decimal("0.0001")};
    Recordset writer = db.openRecordset("PRESET_DEFS");
    for (const QVariant& value : written) {
        writer.addNew();
        writer.setValue("c", value);
        writer.update();
    }
    QList<QVariant> read;
    for (Recordset rows = db.openRecordset("SELECT c FROM PRESET_DEFS ORDER BY c"); !rows.eof();
         rows.moveNext())
        read.append(rows.value("c"));
    QCOMPARE(read, (QList<QVariant>{written[1], written[3], written[0], written[2]}));
    QCOMPARE(db.openRecordset("SELECT c FROM PRESET_DEFS WHERE c < 0").recordCount(), 1);
}

void TestRecordset::dateAndBinaryRoundTrip() {
    const QDateTime when(QDate(1999, 12, 31), QTime(23, 59, 58));
    const QByteArray bytes("\x00\x01\xfe\xff", 4);
    {
        Database db = databaseWith("d DATETIME, b BLOB");
        Recordset records = db.openRecordset("PRESET_DEFS");
        records.addNew();
        records.setValue("d", when);
        records.setValue("b", bytes);
        records.update();
        db.close();
    }
    Database db = Database::open(file("Presets.mdb"));
    Recordset records = db.openRecordset("PRESET_DEFS");
    QCOMPARE(records.value("d"), QVariant(when));
    QCOMPARE(records.value("b"), QVariant(bytes));
    QCOMPARE(db.openRecordset("SELECT d FROM PRESET_DEFS WHERE d = ?", {"1999-12-31 23:59:58"})
                 .recordCount(),
             1);
}

void TestRecordset::tableRecordsComeInInsertionOrder() {
    Database db = databaseWith("ID LONG, var_name TEXT(20)");
    Recordset writer = db.openRecordset("PRESET_DEFS");
    for (const QString name : {"Zeta", "alpha", "Mid"}) {
        writer.addNew();
        writer.setValue("var_name", name);
        writer.update();
    }
    QStringList names;
    for (Recordset records = db.openRecordset("PRESET_DEFS"); !records.eof(); records.moveNext())
        names.append(records.value("var_name").toString());
    QCOMPARE(names, (QStringList{"Zeta", "alpha", "Mid"}));
}

void TestRecordset::addedAndEditedRecordsPersist() {
    {
        Database db = databaseWith("ID SHORT, var_name TEXT(50), part LONG, pass DOUBLE");
        Recordset records = db.openRecordset("PRESET_DEFS");
        for (int id = 1; id <= 2; ++id) {
            records.addNew();
            records.setValue("ID", id);
            records.setValue("part", 3);
            QCOMPARE(records.value("part"), QVariant(qint64(3)));
            records.setValue("var_name", QString("M1.Presets.V%1").arg(id));
            records.update();
        }
        QVERIFY(records.eof());
        QCOMPARE(records.recordCount(), 2);
        db.close();
    }
    {
        Database db = Database::open(file("Presets.mdb"));
        Recordset records = db.openRecordset("PRESET_DEFS");
        records.moveTo(1);
        records.edit();
        records.setValue("pass", 0.25);
        records.update();
        QCOMPARE(records.value("pass"), QVariant(0.25));
        db.close();
    }
    Database db = Database::open(file("Presets.mdb"));
    Recordset records = db.openRecordset("PRESET_DEFS");
    QCOMPARE(records.recordCount(), 2);
    QCOMPARE(records.value("var_name"), QVariant("M1.Presets.V1"));
    QVERIFY(isNullValue(records.value("pass")));
    records.moveNext();
    QCOMPARE(records.value("ID"), QVariant(qint64(2)));
    QCOMPARE(records.value("pass"), QVariant(0.25));
    QCOMPARE(failureNumber([&] { records.update(); }), db::UpdateWithoutEdit);
}

void TestRecordset::readsSeePendingWrites() {
    Database db = databaseWith("var_name TEXT(50)");
    Recordset writer = db.openRecordset("PRESET_DEFS");
    writer.addNew();
    writer.setValue(0, "A");
    writer.update();
    Recordset reader =
        db.openRecordset("SELECT var_name FROM PRESET_DEFS WHERE var_name = ?", {"A"});
    QCOMPARE(reader.recordCount(), 1);
}

void TestRecordset::movingWithoutCurrentRecordFails() {
    Database db = databaseWith("a LONG");
    Recordset records = db.openRecordset("PRESET_DEFS");
    QCOMPARE(records.recordCount(), 0);
    QVERIFY(records.eof());
    QCOMPARE(failureNumber([&] { records.moveFirst(); }), db::NoCurrentRecord);
    QCOMPARE(failureNumber([&] { records.moveLast(); }), db::NoCurrentRecord);
    QCOMPARE(failureNumber([&] { records.moveNext(); }), db::NoCurrentRecord);
    QCOMPARE(failureNumber([&] { records.moveTo(0); }), db::NoCurrentRecord);
    QCOMPARE(failureNumber([&] { records.value(0); }), db::NoCurrentRecord);
    QCOMPARE(failureNumber([&] { records.edit(); }), db::NoCurrentRecord);
    const std::optional<Failure> failure = test::failureOf([&] { records.moveFirst(); });
    QCOMPARE(failure->description, "No current record.");
}

void TestRecordset::fieldsAreFoundByNameIgnoringCase() {
    Database db = databaseWith("var_name TEXT(50), Part LONG");
    db.execute("INSERT INTO PRESET_DEFS VALUES ('x', 4)");
    Recordset records = db.openRecordset("PRESET_DEFS");
    QCOMPARE(records.value("VAR_NAME"), QVariant("x"));
    QCOMPARE(records.fieldIndex("part"), 1);
    QCOMPARE(records.fieldName(1), "Part");
    const std::optional<Failure> failure = test::failureOf([&] { records.value("categorie"); });
    QCOMPARE(failure->number, db::ItemNotFound);
    QCOMPARE(failure->description, "Item not found in this collection.");
    QCOMPARE(failureNumber([&] { records.field(2); }), db::ItemNotFound);
    records.edit();
    QCOMPARE(failureNumber([&] { records.setValue("nope", 1); }), db::ItemNotFound);
}

void TestRecordset::textComparisonIgnoresCaseOfAnsiLetters_data() {
    QTest::addColumn<QString>("searched");
    QTest::addColumn<int>("matches");
    QTest::newRow("same") << "Ärger\"Öl" << 2;
    QTest::newRow("upper case umlauts") << "ÄRGER\"ÖL" << 2;
    QTest::newRow("lower case umlauts") << "ärger\"öl" << 2;
    QTest::newRow("other letters") << "Arger\"Ol" << 0;
    QTest::newRow("Š and Œ") << "šœ" << 1;
}

// The searched name contains a double quote: bound as a parameter it is
// just a character.
void TestRecordset::textComparisonIgnoresCaseOfAnsiLetters() {
    QFETCH(QString, searched);
    QFETCH(int, matches);
    Database db = databaseWith("var_name TEXT(50)");
    for (const QString name : {"Ärger\"Öl", "äRGER\"öL", "ŠŒ", "Other"})
        db.execute("INSERT INTO PRESET_DEFS VALUES (?)", {name});
    const QString sql = "SELECT PRESET_DEFS.* From PRESET_DEFS "
                        "WHERE (((PRESET_DEFS.Var_Name) = ? COLLATE JETTEXT))";
    QCOMPARE(db.openRecordset(sql, {searched}).recordCount(), matches);
}

void TestRecordset::statementOverOneTableIsEditable() {
    Database db = databaseWith("ID LONG, machine_type TEXT(20), var_name TEXT(50), "
                               "offset_or_bitno LONG, abs_min DOUBLE");
    db.execute("INSERT INTO PRESET_DEFS VALUES (1, 'A', 'M1.x', 4, 0), (2, 'A', 'M1.y', 4, 0)");
    Recordset match = db.openRecordset(
        "SELECT PRESET_DEFS.ID, PRESET_DEFS.abs_min AS lower_limit From PRESET_DEFS "
        " WHERE machine_type = :type COLLATE JETTEXT AND var_name = :name COLLATE JETTEXT "
        " AND offset_or_bitno = :offset",
        {"a", "m1.Y", 4});
    QVERIFY(match.isEditable());
    QCOMPARE(match.recordCount(), 1);
    QCOMPARE(match.value("ID"), QVariant(qint64(2)));
    match.edit();
    match.setValue("lower_limit", "-7.5");
    match.update();
    QCOMPARE(match.value("lower_limit"), QVariant(-7.5));

    Recordset table = db.openRecordset("PRESET_DEFS");
    QCOMPARE(table.value("abs_min"), QVariant(0.0));
    table.moveNext();
    QCOMPARE(table.value("abs_min"), QVariant(-7.5));
}

void TestRecordset::otherStatementsAreReadOnly_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<qint64>("count");
    QTest::newRow("join") << "SELECT a.var_name FROM PRESET_DEFS a JOIN PRESET_DEFS b "
                             "ON a.var_name = b.var_name"
                          << qint64(4);
    QTest::newRow("distinct") << "SELECT DISTINCT var_name FROM PRESET_DEFS" << qint64(1);
    QTest::newRow("computed") << "SELECT count(*) FROM PRESET_DEFS" << qint64(1);
    QTest::newRow("with") << "WITH x AS (SELECT var_name FROM PRESET_DEFS) SELECT * FROM x"
                          << qint64(2);
}

void TestRecordset::otherStatementsAreReadOnly() {
    QFETCH(QString, sql);
    QFETCH(qint64, count);
    Database db = databaseWith("var_name TEXT(50)");
    db.execute("INSERT INTO PRESET_DEFS VALUES ('x'), ('x')");
    Recordset records = db.openRecordset(sql);
    QVERIFY(!records.isEditable());
    QCOMPARE(records.recordCount(), count);
    QCOMPARE(failureNumber([&] { records.edit(); }), db::ReadOnly);
    QCOMPARE(failureNumber([&] { records.addNew(); }), db::ReadOnly);
    QCOMPARE(failureNumber([&] { db.openRecordset("DELETE FROM PRESET_DEFS"); }),
             db::InvalidOperation);
}

void TestRecordset::snapshotOfOneTableIsReadOnlyWithTypedCells() {
    Database db = databaseWith("ID SHORT, var_name TEXT(50), isBitArray BIT, abs_min DOUBLE");
    db.execute("INSERT INTO PRESET_DEFS VALUES (1, 'a', 1, 2), (2, NULL, 0, 3), (3, 'c', 1, 4)");
    Recordset records = db.openSnapshot(
        "SELECT var_name, isBitArray, abs_min FROM PRESET_DEFS WHERE ID >= ? ORDER BY _rowid_",
        {2});
    QVERIFY(!records.isEditable());
    QCOMPARE(failureNumber([&] { records.edit(); }), db::ReadOnly);
    QCOMPARE(records.field(1).type, FieldType::Boolean);
    const std::vector<QVariantList> rows = records.getRows(records.recordCount());
    QCOMPARE(rows.size(), std::size_t(2));
    QCOMPARE(rows.front(), (QVariantList{QVariant(), false, 3.0}));
    QCOMPARE(rows.back(), (QVariantList{"c", true, 4.0}));
    QCOMPARE(failureNumber([&] { db.openSnapshot("DELETE FROM PRESET_DEFS"); }),
             db::InvalidOperation);
}

void TestRecordset::getRowsReadsOnFromTheCurrentRecord_data() {
    QTest::addColumn<QString>("source");
    QTest::newRow("table") << "PRESET_DEFS";
    QTest::newRow("read-only statement") << "SELECT DISTINCT ID, var_name FROM PRESET_DEFS";
}

void TestRecordset::getRowsReadsOnFromTheCurrentRecord() {
    QFETCH(QString, source);
    Database db = databaseWith("ID SHORT, var_name TEXT(50)");
    for (int id = 1; id <= 5; ++id)
        db.execute("INSERT INTO PRESET_DEFS VALUES (?, ?)", {id, QString("V%1").arg(id)});
    Recordset records = db.openRecordset(source);
    records.moveNext();
    const std::vector<QVariantList> middle = records.getRows(3);
    QCOMPARE(middle.size(), std::size_t(3));
    QCOMPARE(middle.front(), (QVariantList{qint64(2), "V2"}));
    QCOMPARE(middle.back(), (QVariantList{qint64(4), "V4"}));
    QCOMPARE(records.value("ID"), QVariant(qint64(5)));
    const std::vector<QVariantList> rest = records.getRows(10);
    QCOMPARE(rest.size(), std::size_t(1));
    QCOMPARE(rest.front(), (QVariantList{qint64(5), "V5"}));
    QVERIFY(records.eof());
    QVERIFY(records.getRows(1).empty());
}

void TestRecordset::cellsRepeatedFromRowToRowAreReadAsStored_data() {
    QTest::addColumn<QString>("declaration");
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<QVariantList>("expected");
    const QVariantList texts{"KPL",     "KPL",      "kpl", "KPL ", "KP", "KPL", "\u00c4", "\u00c4",
                             "\u00c4x", QVariant(), "",    "",     12,   "12",  "12"};
    const QVariantList read{"KPL",     "KPL",      "kpl", "KPL ", "KP", "KPL", "\u00c4", "\u00c4",
                            "\u00c4x", QVariant(), "",    "",     "12", "12",  "12"};
    QTest::newRow("text") << "TEXT(20)" << texts << read;
    QTest::newRow("memo") << "MEMO" << texts << read;
    QTest::newRow("words and numbers in LONG")
        << "LONG" << QVariantList{"n/a", "n/a", "7", "7", 7, "n/a"}
        << QVariantList{"n/a", "n/a", qint64(7), qint64(7), qint64(7), "n/a"};
}

// Each way of reading rows gives every cell as stored, also where a row
// repeats the text of the row before.
void TestRecordset::cellsRepeatedFromRowToRowAreReadAsStored() {
    QFETCH(QString, declaration);
    QFETCH(QVariantList, stored);
    QFETCH(QVariantList, expected);
    Database db = databaseWith("c " + declaration);
    for (const QVariant& value : stored)
        db.execute("INSERT INTO PRESET_DEFS VALUES (?)", {value});
    const auto check = [&](const QList<QVariant>& cells) {
        QCOMPARE(cells.size(), expected.size());
        for (qsizetype i = 0; i < cells.size(); ++i) {
            QCOMPARE(cells[i].typeId(), expected[i].typeId());
            QCOMPARE(cells[i], expected[i]);
        }
    };
    Recordset walked = db.openRecordset("PRESET_DEFS");
    QVariantList cells;
    for (; !walked.eof(); walked.moveNext())
        cells.append(walked.value(0));
    check(cells);
    // Column 1 of the read-only statement is c; the rowid keeps the rows apart.
    for (const auto& [source, column] :
         {std::pair{QStringLiteral("PRESET_DEFS"), 0},
          std::pair{QStringLiteral("SELECT DISTINCT _rowid_, c FROM PRESET_DEFS ORDER BY 1"), 1}}) {
        Recordset records = db.openRecordset(source);
        cells.clear();
        for (const QVariantList& row : records.getRows(records.recordCount()))
            cells.append(row.at(column));
        check(cells);
    }
}

// No timing assertion: the figures are printed, and a quadratic walk over
// 32,767 rows would take minutes rather than the second this takes.
void TestRecordset::fullTableIsWalkedAndUpdatedWithoutQuadraticCost() {
    constexpr int kRows = 32767;
    QElapsedTimer timer;
    timer.start();
    {
        Database db = databaseWith("ID SHORT, var_name TEXT(50), pass DOUBLE");
        Recordset records = db.openRecordset("PRESET_DEFS");
        for (int id = 1; id <= kRows; ++id) {
            records.addNew();
            records.setValue("ID", id);
            records.setValue("var_name", QString("M1.Presets.V%1").arg(id));
            records.update();
        }
        db.close();
    }
    const qint64 written = timer.restart();
    {
        Database db = Database::open(file("Presets.mdb"));
        Recordset records = db.openRecordset("PRESET_DEFS");
        QCOMPARE(records.recordCount(), kRows);
        for (records.moveFirst(); !records.eof(); records.moveNext()) {
            records.edit();
            records.setValue("pass", records.value("ID").toDouble() / 2);
            records.update();
        }
        db.close();
    }
    qInfo("%d rows: written in %lld ms, walked and updated in %lld ms", kRows, written,
          timer.elapsed());
    Database db = Database::open(file("Presets.mdb"));
    Recordset last = db.openRecordset("PRESET_DEFS");
    last.moveLast();
    QCOMPARE(last.value("pass"), QVariant(kRows / 2.0));
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
