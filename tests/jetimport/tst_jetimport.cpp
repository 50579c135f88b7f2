#include "JetSamples.h"

#include "errors/Failure.h"
#include "jetimport/JetColumnTypes.h"
#include "jetimport/JetDatabase.h"
#include "jetimport/JetToSqlite.h"
#include "jetimport/LibmdbEnvironment.h"
#include "presetdb/Database.h"
#include "presetdb/FieldValue.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace kpl;

namespace {

const QString kProjects = QStringLiteral("MSP_PROJECTS");

// Imports the sample into a new database in `dir` and returns its path.
QString importSample(const QTemporaryDir& dir, const QString& sample) {
    const QString target = dir.filePath(sample + QStringLiteral(".sqlite"));
    importJetDatabase(test::jetSample(sample), target);
    return target;
}

// Every row of `table` with its values as the database layer delivers them.
QList<QVariantList> allRows(const QString& path, const QString& table) {
    Database database = Database::open(path);
    Recordset rows = database.openRecordset(table);
    QList<QVariantList> result;
    for (; !rows.eof(); rows.moveNext()) {
        QVariantList row;
        for (int i = 0; i < rows.fieldCount(); ++i)
            row.append(rows.value(i));
        result.append(row);
    }
    return result;
}

// Every value of every table, as text, for comparing whole databases.
QStringList allValues(const QString& path) {
    Database database = Database::open(path);
    QStringList values;
    for (const QString& table : database.tableNames()) {
        for (const QVariantList& row : allRows(path, table)) {
            for (const QVariant& value : row)
                values.append(isNullValue(value)
                                  ? QStringLiteral("<Null>")
                                  : value.toString() +
                                        QString::fromLatin1(value.toByteArray().toHex()));
        }
    }
    return values;
}

int samplePageSize(const QString& sample) {
    return sample == test::kJet3Sample ? 2048 : 4096;
}

QString latin1Range() {
    QString text;
    for (char16_t c = 1; c <= 0xff; ++c)
        text.append(QChar(c));
    return text;
}

} // namespace

// Import of the sample Jet files, checked through the database layer that
// reads the result.
class TestJetImport : public QObject {
    Q_OBJECT
private slots:
    void init() { KPL_REQUIRE_JET_SAMPLES(); }

    void libmdbVariablesAreUnsetWhileAFileIsOpen();
    void carriesOverUserTablesOnly_data();
    void carriesOverUserTablesOnly();
    void columnTypesReadBackAsImported_data();
    void columnTypesReadBackAsImported();
    void sampleRowHasItsExactValues_data();
    void sampleRowHasItsExactValues();
    void jet3AndJet4GiveEqualValues();
    void unicodeRowsKeepEveryCharacter_data();
    void unicodeRowsKeepEveryCharacter();
    void reportsRowsReadAndWritten();
    void cutAtAPageBoundaryIsRefusedOrComplete_data();
    void cutAtAPageBoundaryIsRefusedOrComplete();

private:
    QTemporaryDir m_dir;
    QMap<QString, QString> m_wholeImports; // sample -> its import in m_dir
};

// libmdb reads these variables while a file is open: they may not change
// what is read.
void TestJetImport::libmdbVariablesAreUnsetWhileAFileIsOpen() {
    for (const char* name : LibmdbEnvironmentGuard::variableNames())
        qputenv(name, "set by the test");
    {
        const JetDatabase jet(test::jetSample(test::kJet3Sample));
        for (const char* name : LibmdbEnvironmentGuard::variableNames())
            QVERIFY2(!qEnvironmentVariableIsSet(name), name);
    }
    for (const char* name : LibmdbEnvironmentGuard::variableNames()) {
        QCOMPARE(qgetenv(name), QByteArray("set by the test"));
        qunsetenv(name);
    }
}

void TestJetImport::carriesOverUserTablesOnly_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("Jet 3") << test::kJet3Sample << QStringList{kProjects} << 74 << 1;
    QTest::newRow("Jet 4") << test::kJet4Sample << QStringList{kProjects} << 74 << 1;
    QTest::newRow("Jet 4, Unicode") << test::kUnicodeSample << QStringList{"Table"} << 2 << 8;
}

void TestJetImport::carriesOverUserTablesOnly() {
    QFETCH(QString, sample);
    QFETCH(QStringList, tables);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QTemporaryDir dir;
    Database database = Database::open(importSample(dir, sample));
    QCOMPARE(database.tableNames(), tables);
    QCOMPARE(database.tableDef(tables.at(0)).fieldCount(), columns);
    QCOMPARE(database.openRecordset(tables.at(0)).recordCount(), rows);
}

void TestJetImport::columnTypesReadBackAsImported_data() {
    QTest::addColumn<QString>("sample");
    QTest::newRow("Jet 3") << test::kJet3Sample;
    QTest::newRow("Jet 4") << test::kJet4Sample;
    QTest::newRow("Jet 4, Unicode") << test::kUnicodeSample;
}

void TestJetImport::columnTypesReadBackAsImported() {
    QFETCH(QString, sample);
    QTemporaryDir dir;
    Database database = Database::open(importSample(dir, sample));
    const JetDatabase jet(test::jetSample(sample));
    for (const QString& table : jet.userTableNames()) {
        const TableDef imported =
            importedTableDef(table, jet.openTable(table).columns(), jet.isJet4());
        QCOMPARE(database.tableDef(table).fields(), imported.fields());
    }
    if (sample == test::kUnicodeSample)
        return;
    const TableDef projects = database.tableDef(kProjects);
    const auto field = [&projects](const char* name) {
        return projects.field(projects.indexOf(name));
    };
    QCOMPARE(field("PROJ_ID"), (Field{"PROJ_ID", FieldType::Long, 4}));
    QCOMPARE(field("PROJ_NAME"), (Field{"PROJ_NAME", FieldType::Text, 255}));
    QCOMPARE(field("PROJ_OPT_CURRENCY_SYMBOL"),
             (Field{"PROJ_OPT_CURRENCY_SYMBOL", FieldType::Text, 20}));
    QCOMPARE(field("PROJ_PROP_AUTHOR").type, FieldType::Memo);
    QCOMPARE(field("PROJ_OPT_CALC_ACT_COSTS").type, FieldType::Boolean);
    QCOMPARE(field("PROJ_OPT_CURRENCY_DIGITS").type, FieldType::Short);
    QCOMPARE(field("PROJ_OPT_DEF_OVT_RATE").type, FieldType::Double);
    QCOMPARE(field("PROJ_INFO_CURRENT_DATE").type, FieldType::DateTime);
    QCOMPARE(field("RESERVED_BINARY_DATA").type, FieldType::Binary);
}

void TestJetImport::sampleRowHasItsExactValues_data() {
    QTest::addColumn<QString>("sample");
    QTest::newRow("Jet 3") << test::kJet3Sample;
    QTest::newRow("Jet 4") << test::kJet4Sample;
}

void TestJetImport::sampleRowHasItsExactValues() {
    QFETCH(QString, sample);
    QTemporaryDir dir;
    Database database = Database::open(importSample(dir, sample));
    Recordset row = database.openRecordset(kProjects);
    QCOMPARE(row.value("PROJ_ID"), QVariant(qint64(1)));
    QCOMPARE(row.value("PROJ_NAME"), QVariant(u"Project1"_qs));
    QCOMPARE(row.value("PROJ_OPT_MINUTES_PER_WEEK"), QVariant(qint64(2400)));
    QCOMPARE(row.value("PROJ_OPT_DAYS_PER_MONTH"), QVariant(qint64(20)));
    QCOMPARE(row.value("PROJ_OPT_CURRENCY_SYMBOL"), QVariant(u"£"_qs));
    QCOMPARE(row.value("PROJ_DATA_SOURCE"), QVariant(u"Z:\\temp\\Project1.mpd"_qs));
    QCOMPARE(row.value("PROJ_OPT_CALC_ACT_COSTS"), QVariant(true));
    QCOMPARE(row.value("PROJ_OPT_MULT_CRITICAL_PATHS"), QVariant(false));
    QCOMPARE(row.value("PROJ_OPT_DEF_STD_RATE"), QVariant(0.0));
    // Memo values: a long one read whole, a short one stored in the row.
    const QString author = row.value("PROJ_PROP_AUTHOR").toString();
    QCOMPARE(author.size(), 348);
    QVERIFY(author.startsWith("Jon Iles this is a a vawesrasoih"));
    QCOMPARE(row.value("PROJ_PROP_COMPANY"), QVariant(u"T"_qs));
    QCOMPARE(row.value("PROJ_INFO_CAL_NAME"), QVariant(u"Standard"_qs));
    QCOMPARE(storedDateTimeText(row.value("PROJ_INFO_CURRENT_DATE").toDateTime()),
             u"2006-02-03 08:00:00"_qs);
    QCOMPARE(storedDateTimeText(row.value("PROJ_CREATION_DATE_EX").toDateTime()),
             u"2006-02-03 22:11:05"_qs);
    // Null stays Null, in every type: never the empty text or zero.
    for (const char* name : {"PROJ_PROP_CATEGORY", "PROJ_PROJECT", "PROJ_INFO_STATUS_DATE",
                             "PROJ_TYPE", "PROJ_CHECKEDOUTBY"}) {
        QVERIFY2(isNullValue(row.value(name)), name);
        QVERIFY2(!isTextValue(row.value(name)), name);
    }
    // The OLE value is longer than libmdb's bind size and read whole.
    const QByteArray ole = row.value("RESERVED_BINARY_DATA").toByteArray();
    QCOMPARE(ole.size(), 22970);
    QCOMPARE(ole.left(8), QByteArray::fromHex("151c2d0002000000"));
}

void TestJetImport::jet3AndJet4GiveEqualValues() {
    QTemporaryDir dir;
    const QList<QVariantList> jet3 = allRows(importSample(dir, test::kJet3Sample), kProjects);
    const QList<QVariantList> jet4 = allRows(importSample(dir, test::kJet4Sample), kProjects);
    QCOMPARE(jet3.size(), 1);
    QCOMPARE(jet4.size(), 1);
    for (int i = 0; i < jet3.at(0).size(); ++i) {
        QCOMPARE(jet3.at(0).at(i).typeId(), jet4.at(0).at(i).typeId());
        QCOMPARE(jet3.at(0).at(i), jet4.at(0).at(i));
    }
}

void TestJetImport::unicodeRowsKeepEveryCharacter_data() {
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII") << qint64(1) << u"only ascii chars"_qs;
    QTest::newRow("Finnish") << qint64(2) << u"ääkkösiä"_qs;
    QTest::newRow("Cyrillic") << qint64(3) << u"Мир"_qs;
    // Written with escapes: an editor may turn U+1F79 into its equivalent U+03CC.
    QTest::newRow("polytonic Greek")
        << qint64(4)
        << u"\u03f0\u03b1\u1f76 \u03c4\u1f79\u03c4' \u1f10\u03b3\u1f7c \u039a\u1f7b\u03f0\u03bb\u03c9\u03c0\u03b1"_qs;
    QTest::newRow("Japanese") << qint64(5) << u"漢字仮名交じり文"_qs;
    QTest::newRow("control characters") << qint64(6) << u"3L9\u001d52\u0002_AB(\u00a5\u0005!!V"_qs;
    QTest::newRow("umlaut") << qint64(7) << u"ümlaut"_qs;
    QTest::newRow("whole Latin-1 range") << qint64(8) << latin1Range();
}

void TestJetImport::unicodeRowsKeepEveryCharacter() {
    QFETCH(qint64, id);
    QFETCH(QString, text);
    QTemporaryDir dir;
    Database database = Database::open(importSample(dir, test::kUnicodeSample));
    Recordset row =
        database.openRecordset("SELECT ID, \"Unicode\" FROM \"Table\" WHERE ID = ?", {id});
    QCOMPARE(row.recordCount(), 1);
    QCOMPARE(row.value(1).toString(), text);
}

void TestJetImport::reportsRowsReadAndWritten() {
    QTemporaryDir dir;
    const QList<TableCount> counts =
        importJetDatabase(test::jetSample(test::kUnicodeSample), dir.filePath("u.mdb"));
    QCOMPARE(counts.size(), 1);
    QCOMPARE(counts.at(0).table, u"Table"_qs);
    QCOMPARE(counts.at(0).read, 8);
    QCOMPARE(counts.at(0).written, 8);
}

void TestJetImport::cutAtAPageBoundaryIsRefusedOrComplete_data() {
    KPL_REQUIRE_JET_SAMPLES();
    QTest::addColumn<QString>("sample");
    QTest::addColumn<int>("pages");
    for (const char* sample : {test::kJet3Sample, test::kJet4Sample, test::kUnicodeSample}) {
        const qint64 size = QFile(test::jetSample(sample)).size();
        for (int pages = 1; pages < size / samplePageSize(sample); ++pages)
            QTest::addRow("%s, %d pages", sample, pages) << QString(sample) << pages;
    }
}

// libmdb reads a file cut at a page boundary without complaint, partly from
// stale page contents. The import has to refuse it, or give every value of
// the whole file when only pages it does not need are missing.
void TestJetImport::cutAtAPageBoundaryIsRefusedOrComplete() {
    QFETCH(QString, sample);
    QFETCH(int, pages);
    if (!m_wholeImports.contains(sample))
        m_wholeImports.insert(sample, importSample(m_dir, sample));
    QTemporaryDir dir;
    QFile cut(dir.filePath("cut.mdb"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(test::jetSampleBytes(sample).left(qsizetype(pages) * samplePageSize(sample)));
    cut.close();
    try {
        importJetDatabase(cut.fileName(), dir.filePath("cut.sqlite"));
    } catch (const Failure&) {
        return;
    }
    QCOMPARE(allValues(dir.filePath("cut.sqlite")), allValues(m_wholeImports.value(sample)));
}

QTEST_APPLESS_MAIN(TestJetImport)
#include "tst_jetimport.moc"
