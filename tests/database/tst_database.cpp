#include "DbTestSupport.h"
#include "FailingJournal.h"
#include "database/Database.h"
#include "database/DbError.h"
#include "database/TextCollation.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

Q_DECLARE_METATYPE(kpl::ColumnType)

using namespace kpl;
using test::failureNumber;
using test::failureOf;

namespace {
constexpr qint32 kSqliteError = 1;
constexpr qint32 kSqliteCantOpen = 14;
constexpr qint32 kSqliteNotADb = 26;
} // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void init();

    void filesThatAreNoSqliteDatabaseAreRefused_data();
    void filesThatAreNoSqliteDatabaseAreRefused();
    void openDoesNotCreateAMissingFile();
    void closedFileIsOneFileWithRollbackJournal();
    void pendingWritesAreRolledBackWhenAFailureUnwinds();
    void writesAfterTheEngineRolledBackAreRefused();
    void commitMakesWritesVisibleToOtherConnections();

    void columnTypesRoundTrip_data();
    void columnTypesRoundTrip();
    void declaredTypesAreRead_data();
    void declaredTypesAreRead();
    void missingTableDefIsItemNotFound();

    void tableNamesDifferingInCaseClash();
    void deleteTableRemovesTableAndRecords();
    void renameFieldKeepsDataAndRefusesDuplicates();
    void recordsetsCloseWithTheirDatabase();
    void textKeysMatchAsTheCollationCompares_data();
    void textKeysMatchAsTheCollationCompares();

private:
    QString file(const QString& name) const { return m_dir->filePath(name); }
    Database newDatabaseWithTable(const QString& name, const QString& columns);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDatabase::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

Database TestDatabase::newDatabaseWithTable(const QString& name, const QString& columns) {
    Database db = Database::create(file(name));
    db.execute(QStringLiteral("CREATE TABLE t (%1)").arg(columns));
    return db;
}

void TestDatabase::filesThatAreNoSqliteDatabaseAreRefused_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expectedText");
    const QByteArray padding(2048, '\x01');
    QTest::newRow("Jet signature")
        << QByteArray(4, '\0') + "Standard Jet DB" + padding << "--import-jet";
    QTest::newRow("ACE signature")
        << QByteArray(4, '\0') + "Standard ACE DB" + padding << "neither read nor import";
    QTest::newRow("garbage") << QByteArray("this is a text file, not a database\n").repeated(200)
                             << "file is not a database";
}

void TestDatabase::filesThatAreNoSqliteDatabaseAreRefused() {
    QFETCH(QByteArray, content);
    QFETCH(QString, expectedText);
    const QString path = file("Presets.mdb");
    test::writeBytes(path, content);
    const std::optional<Failure> failure = failureOf([&] { Database::open(path); });
    QVERIFY(failure);
    QCOMPARE(failure->number, kSqliteNotADb);
    QCOMPARE(failure->source, "SQLite");
    QVERIFY2(failure->description.contains(expectedText), qPrintable(failure->description));
    QVERIFY2(failure->description.contains(QDir::toNativeSeparators(path)),
             qPrintable(failure->description));
    QCOMPARE(test::readBytes(path), content);
}

void TestDatabase::openDoesNotCreateAMissingFile() {
    const QString path = file("Missing.mdb");
    const std::optional<Failure> failure = failureOf([&] { Database::open(path); });
    QVERIFY(failure);
    QCOMPARE(failure->number, kSqliteCantOpen);
    QVERIFY(failure->description.contains("Missing.mdb"));
    QVERIFY(!QFile::exists(path));

    Database::create(path).close();
    QVERIFY(QFile::exists(path));
    QVERIFY(Database::open(path).tableNames().isEmpty());
}

// Header bytes 18 and 19 say 1 for a rollback journal and 2 for WAL.
void TestDatabase::closedFileIsOneFileWithRollbackJournal() {
    {
        Database db = newDatabaseWithTable("Journal.mdb", "a LONG");
        db.execute("INSERT INTO t VALUES (1)");
        db.commit();
        db.execute("INSERT INTO t VALUES (2)");
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"Journal.mdb"});
    const QByteArray header = test::readBytes(file("Journal.mdb")).left(20);
    QCOMPARE(int(header.at(18)), 1);
    QCOMPARE(int(header.at(19)), 1);
    QCOMPARE(Database::open(file("Journal.mdb")).openRecordset("t").recordCount(), 1);
}

void TestDatabase::pendingWritesAreRolledBackWhenAFailureUnwinds() {
    newDatabaseWithTable("Unwind.mdb", "a LONG").close();
    try {
        Database db = Database::open(file("Unwind.mdb"));
        Recordset records = db.openRecordset("t");
        for (int i = 1; i <= 3; ++i) {
            records.addNew();
            records.setValue("a", i);
            records.update();
        }
        throw std::runtime_error("the run ends here");
    } catch (const std::runtime_error&) {
    }
    QCOMPARE(Database::open(file("Unwind.mdb")).openRecordset("t").recordCount(), 0);
}

// A journal write that fails makes the engine roll the transaction back.
// Later writes would begin a transaction of their own: they and the commit
// fail instead, and none of them reaches the file.
void TestDatabase::writesAfterTheEngineRolledBackAreRefused() {
    newDatabaseWithTable("Rollback.mdb", "a LONG").close();
    const test::FailingJournal failsOnce(QStringLiteral("Rollback.mdb"), 1);
    Database db = Database::open(file("Rollback.mdb"));
    db.beginTransaction();
    QVERIFY(failureOf([&] { db.execute("INSERT INTO t VALUES (1)"); }));
    QVERIFY(!db.rollbackCause().isEmpty());
    QVERIFY(failureOf([&] { db.execute("INSERT INTO t VALUES (2)"); }));
    QVERIFY(failureOf([&] { db.commit(); }));
    QCOMPARE(Database::open(file("Rollback.mdb")).rowCount("t"), 0);
}

void TestDatabase::commitMakesWritesVisibleToOtherConnections() {
    Database writer = newDatabaseWithTable("Shared.mdb", "a LONG");
    writer.commit();
    Database reader = Database::open(file("Shared.mdb"));
    writer.execute("INSERT INTO t VALUES (1)");
    QCOMPARE(writer.openRecordset("t").recordCount(), 1);
    QCOMPARE(reader.openRecordset("t").recordCount(), 0);
    writer.commit();
    QCOMPARE(reader.openRecordset("t").recordCount(), 1);
}

void TestDatabase::columnTypesRoundTrip_data() {
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("sizeReadBack");
    QTest::newRow("text 50") << FieldType::Text << 50 << 50;
    QTest::newRow("text without limit") << FieldType::Text << 0 << 0;
    QTest::newRow("memo") << FieldType::Memo << 0 << 0;
    QTest::newRow("byte") << FieldType::Byte << 0 << 1;
    QTest::newRow("short") << FieldType::Short << 0 << 2;
    QTest::newRow("long, size ignored") << FieldType::Long << 99 << 4;
    QTest::newRow("single") << FieldType::Single << 0 << 4;
    QTest::newRow("double") << FieldType::Double << 0 << 8;
    QTest::newRow("currency") << FieldType::Currency << 0 << 8;
    QTest::newRow("date") << FieldType::DateTime << 0 << 8;
    QTest::newRow("boolean") << FieldType::Boolean << 0 << 1;
    QTest::newRow("binary") << FieldType::Binary << 0 << 0;
    QTest::newRow("numeric") << FieldType::Numeric << 0 << 0;
    QTest::newRow("untyped") << FieldType::Untyped << 0 << 0;
}

// A template's columns are re-created from what is read back, so a second
// generation must equal the first.
void TestDatabase::columnTypesRoundTrip() {
    QFETCH(FieldType, type);
    QFETCH(int, size);
    QFETCH(int, sizeReadBack);
    Database db = Database::create(file("Types.mdb"));
    TableDef source("Source_PRESET_DEFS");
    source.appendField({"ID", FieldType::Long});
    source.appendField({"value", type, size});
    db.appendTableDef(source);

    const TableDef readBack = db.tableDef("Source_PRESET_DEFS");
    QCOMPARE(readBack.fieldCount(), 2);
    const Field value = readBack.field(1);
    QCOMPARE((Field{value.name, value.type, value.size}), (Field{"value", type, sizeReadBack}));

    TableDef copy("PRESET_DEFS");
    for (const Field& field : readBack.fields())
        copy.appendField(field);
    db.appendTableDef(copy);
    QCOMPARE(db.tableDef("PRESET_DEFS").fields(), readBack.fields());
}

void TestDatabase::declaredTypesAreRead_data() {
    QTest::addColumn<QString>("declaration");
    QTest::addColumn<ColumnType>("type");
    QTest::newRow("varchar") << "VARCHAR(20)" << ColumnType{FieldType::Text, 20};
    QTest::newRow("char, lower case, blanks") << "char ( 5 )" << ColumnType{FieldType::Text, 5};
    QTest::newRow("plain TEXT") << "TEXT" << ColumnType{FieldType::Text, 0};
    QTest::newRow("MEMO") << "MEMO" << ColumnType{FieldType::Memo, 0};
    QTest::newRow("INTEGER") << "INTEGER" << ColumnType{FieldType::Long, 4};
    QTest::newRow("SMALLINT") << "SMALLINT" << ColumnType{FieldType::Short, 2};
    QTest::newRow("REAL") << "REAL" << ColumnType{FieldType::Single, 4};
    QTest::newRow("FLOAT") << "FLOAT" << ColumnType{FieldType::Double, 8};
    QTest::newRow("DATE") << "DATE" << ColumnType{FieldType::DateTime, 8};
    QTest::newRow("YESNO") << "YESNO" << ColumnType{FieldType::Boolean, 1};
    QTest::newRow("BOOLEAN") << "BOOLEAN" << ColumnType{FieldType::Boolean, 1};
    QTest::newRow("DECIMAL(10,2)") << "DECIMAL(10,2)" << ColumnType{FieldType::Decimal, 16, 10, 2};
    QTest::newRow("DECIMAL, the engine's default")
        << "DECIMAL" << ColumnType{FieldType::Decimal, 16, 18, 0};
    QTest::newRow("NUMERIC(10,2)") << "NUMERIC(10,2)" << ColumnType{FieldType::Numeric, 0};
    QTest::newRow("unknown with INT") << "BIGINT" << ColumnType{FieldType::Long, 4};
    QTest::newRow("unknown with CHAR") << "VARYING CHARACTER(9)" << ColumnType{FieldType::Text, 9};
    QTest::newRow("unknown with DOUB") << "DOUBLEWORD" << ColumnType{FieldType::Double, 8};
    QTest::newRow("unknown otherwise") << "WHATEVER" << ColumnType{FieldType::Numeric, 0};
    QTest::newRow("none") << "" << ColumnType{FieldType::Untyped, 0};
}

void TestDatabase::declaredTypesAreRead() {
    QFETCH(QString, declaration);
    QFETCH(ColumnType, type);
    Database db = newDatabaseWithTable("Declared.mdb", "c " + declaration);
    QCOMPARE(db.tableDef("t").field(0), fieldOf("c", type));
}

void TestDatabase::missingTableDefIsItemNotFound() {
    Database db = Database::create(file("Empty.mdb"));
    QCOMPARE(failureNumber([&] { db.tableDef("PRESET_DEFS"); }), db::ItemNotFound);
    QVERIFY(failureNumber([&] { db.openRecordset("PRESET_DEFS"); }) != 0);
}

void TestDatabase::tableNamesDifferingInCaseClash() {
    Database db = newDatabaseWithTable("Clash.mdb", "a LONG");
    db.execute("ALTER TABLE t RENAME TO preset_defs");
    QCOMPARE(db.tableNames(), QStringList{"preset_defs"});
    QCOMPARE(db.tableDef("PRESET_DEFS").name(), "preset_defs");

    TableDef upper("PRESET_DEFS");
    upper.appendField({"ID", FieldType::Long});
    const std::optional<Failure> failure = failureOf([&] { db.appendTableDef(upper); });
    QVERIFY(failure);
    QCOMPARE(failure->number, kSqliteError);
    QVERIFY2(failure->description.contains("already exists"), qPrintable(failure->description));
    QCOMPARE(db.tableNames(), QStringList{"preset_defs"});
}

void TestDatabase::deleteTableRemovesTableAndRecords() {
    Database db = newDatabaseWithTable("Drop.mdb", "a LONG");
    db.execute("ALTER TABLE t RENAME TO PRESET_DEFS");
    db.execute("INSERT INTO PRESET_DEFS VALUES (1)");
    db.deleteTable("PRESET_DEFS");
    QVERIFY(db.tableNames().isEmpty());

    TableDef fresh("PRESET_DEFS");
    fresh.appendField({"ID", FieldType::Long});
    fresh.appendField({"var_name", FieldType::Text, 100});
    db.appendTableDef(fresh);
    db.close();

    Database reopened = Database::open(file("Drop.mdb"));
    QCOMPARE(reopened.tableNames(), QStringList{"PRESET_DEFS"});
    QCOMPARE(reopened.tableDef("PRESET_DEFS").fieldCount(), 2);
    QCOMPARE(reopened.openRecordset("PRESET_DEFS").recordCount(), 0);
    QVERIFY(failureNumber([&] { reopened.deleteTable("Nothing"); }) != 0);
}

void TestDatabase::renameFieldKeepsDataAndRefusesDuplicates() {
    Database db = newDatabaseWithTable("Rename.mdb", "ID LONG, CATEGORIE TEXT(20), other LONG");
    db.execute("INSERT INTO t VALUES (1, 'Oven', 7)");
    db.renameField("t", "CATEGORIE", "category_id");
    QCOMPARE(db.tableDef("t").field(1), (Field{"category_id", FieldType::Text, 20}));
    QCOMPARE(db.openRecordset("t").value("category_id"), QVariant("Oven"));

    const std::optional<Failure> clash =
        failureOf([&] { db.renameField("t", "other", "category_id"); });
    QVERIFY(clash);
    QCOMPARE(clash->source, "SQLite");
    QVERIFY2(clash->description.contains("duplicate column name"), qPrintable(clash->description));
    QCOMPARE(db.tableDef("t").field(2).name, "other");
}

void TestDatabase::recordsetsCloseWithTheirDatabase() {
    Database db = newDatabaseWithTable("Close.mdb", "a LONG");
    Recordset records = db.openRecordset("t");
    Database moved = std::move(db);
    QCOMPARE(records.recordCount(), 0);
    QCOMPARE(failureNumber([&] { db.tableNames(); }), db::ObjectInvalid);
    moved.close();
    QCOMPARE(failureNumber([&] { moved.tableNames(); }), db::ObjectInvalid);
    QCOMPARE(failureNumber([&] { records.recordCount(); }), db::ObjectInvalid);
    QCOMPARE(failureNumber([&] { records.addNew(); }), db::ObjectInvalid);
}

void TestDatabase::textKeysMatchAsTheCollationCompares_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("ASCII case") << "M1.P.Speed_1"
                                << "m1.p.SPEED_1" << true;
    QTest::newRow("first and last letters") << "Az"
                                            << "aZ" << true;
    QTest::newRow("ASCII differs") << "M1.P.Speed_1"
                                   << "M1.P.Speed_2" << false;
    QTest::newRow("empty") << ""
                           << "" << true;
    QTest::newRow("letters of Windows-1252") << "\u00c4rger \u0152uvre \u0160"
                                             << "\u00e4RGER \u0153UVRE \u0161" << true;
    QTest::newRow("ASCII before others") << "Abc\u00c4"
                                         << "aBC\u00e4" << true;
    QTest::newRow("no folding into two letters") << "Stra\u00dfe"
                                                 << "STRASSE" << false;
    QTest::newRow("symbols stay") << "[a]@{b}"
                                  << "[A]@{B}" << true;
    QTest::newRow("neighbours of A and Z") << "@[`{"
                                           << "@[`{" << true;
    QTest::newRow("@ is not folded into `") << "@"
                                            << "`" << false;
    QTest::newRow("[ is not folded into {") << "["
                                            << "{" << false;
}

// Texts found through a key in memory are the ones a query with the
// collation finds.
void TestDatabase::textKeysMatchAsTheCollationCompares() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    QCOMPARE(textKey(a) == textKey(b), equal);
    Database db = newDatabaseWithTable("Keys.mdb", "a TEXT(255), b TEXT(255)");
    db.execute("INSERT INTO t VALUES (?, ?)", {a, b});
    Recordset same = db.openRecordset("SELECT a FROM t WHERE a = b COLLATE JETTEXT");
    QCOMPARE(same.recordCount() == 1, equal);
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
