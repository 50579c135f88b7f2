#include "JetSamples.h"

#include "core/Failure.h"
#include "database/Database.h"
#include "database/Decimal.h"
#include "database/FieldValue.h"
#include "jetimport/ImportReport.h"
#include "jetimport/JetDatabase.h"
#include "jetimport/JetPageCheck.h"
#include "jetimport/JetToSqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstdio>

using namespace kpl;

namespace {

// Imports the sample into a new database in `dir` and returns its path.
QString importSample(const QTemporaryDir& dir, const QString& sample) {
    const QString target = dir.filePath(QFileInfo(sample).fileName() + QStringLiteral(".sqlite"));
    importJetDatabase(test::jetSample(sample), target);
    return target;
}

// Every value of every table, as text, for comparing whole databases.
QStringList allValues(const QString& path) {
    Database database = Database::open(path);
    QStringList values;
    for (const QString& table : database.tableNames()) {
        for (Recordset rows = database.openRecordset(table); !rows.eof(); rows.moveNext()) {
            for (int i = 0; i < rows.fieldCount(); ++i) {
                const QVariant value = rows.value(i);
                values.append(isNullValue(value)
                                  ? QStringLiteral("<Null>")
                                  : value.toString() +
                                        QString::fromLatin1(value.toByteArray().toHex()));
            }
        }
    }
    return values;
}

int samplePageSize(const QString& sample) {
    return sample.contains(QLatin1String("V1997")) ? 2048 : 4096;
}

// What the independent reader read from a sample: per table its declared
// row count, its columns (name, type name, length) and its rows.
struct ExpectedTable {
    QString name;
    qint64 declaredRows = 0;
    QJsonArray columns;
    QList<QJsonArray> rows;
};

QList<ExpectedTable> expectedTables(const QString& dumpPath) {
    QFile dump(dumpPath);
    if (!dump.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(dumpPath));
    QList<ExpectedTable> tables;
    while (!dump.atEnd()) {
        const QJsonObject line = QJsonDocument::fromJson(dump.readLine()).object();
        if (line.contains("table"))
            tables.append({line["table"].toString(),
                           line["rows"].toInteger(),
                           line["columns"].toArray(),
                           {}});
        else if (line.contains("row"))
            tables.last().rows.append(line["row"].toArray());
    }
    return tables;
}

// The column the layer reads back for a column the independent reader
// names by its type name and length in characters.
Field expectedField(const QJsonArray& column) {
    static const QMap<QString, FieldType> types{
        {"TEXT", FieldType::Text},       {"MEMO", FieldType::Memo},
        {"BYTE", FieldType::Byte},       {"INT", FieldType::Short},
        {"LONG", FieldType::Long},       {"FLOAT", FieldType::Single},
        {"DOUBLE", FieldType::Double},   {"MONEY", FieldType::Currency},
        {"NUMERIC", FieldType::Decimal}, {"SHORT_DATE_TIME", FieldType::DateTime},
        {"BOOLEAN", FieldType::Boolean}, {"OLE", FieldType::Binary},
        {"BINARY", FieldType::Binary},   {"GUID", FieldType::Text},
    };
    const QString type = column[1].toString();
    const int textLength = type == "GUID" ? 38 : column[2].toInt();
    const FieldType fieldType = types.value(type, FieldType::Untyped);
    return Field{column[0].toString(), fieldType, fieldType == FieldType::Text ? textLength : 0};
}

// Whether the cell read back is the value the independent reader read:
// Singles as 32-bit values, decimals with their scale (Currency with the
// ten-thousandths it stores), dates to the second.
bool sameValue(const QVariant& actual, const QJsonValue& expected) {
    if (expected.isNull())
        return isNullValue(actual);
    if (expected.isBool())
        return actual.typeId() == QMetaType::Bool && actual.toBool() == expected.toBool();
    if (expected.isDouble())
        return actual.typeId() == QMetaType::LongLong &&
               actual.toLongLong() == expected.toInteger();
    if (expected.isString())
        return isTextValue(actual) && actual.toString() == expected.toString();
    const QJsonObject tagged = expected.toObject();
    const QString text = tagged.begin().value().toString();
    const QString tag = tagged.begin().key();
    if (tag == "f32")
        return actual.toDouble() == double(text.toFloat());
    if (tag == "f64")
        return actual.typeId() == QMetaType::Double && actual.toDouble() == text.toDouble();
    if (tag == "dec")
        return actual.value<Decimal>() == *Decimal::fromText(text);
    if (tag == "dt") {
        const QDateTime expectedTime = QDateTime::fromString(text, Qt::ISODate);
        const QDateTime actualTime = actual.toDateTime();
        return actualTime.date() == expectedTime.date() && actualTime.time() == expectedTime.time();
    }
    return tag == "hex" && actual.toByteArray() == QByteArray::fromHex(text.toLatin1());
}

QString shortened(const QVariant& value) {
    const QString text = value.typeId() == QMetaType::QByteArray
                             ? QString::fromLatin1(value.toByteArray().toHex())
                             : value.toString();
    return text.left(80);
}

} // namespace

// Import of the sample Jet files, checked through the database layer that
// reads the result.
class TestJetImport : public QObject {
    Q_OBJECT
private slots:
    void init() { KPL_REQUIRE_JET_SAMPLES(); }

    void readsEveryFileAsTheIndependentReaderDoes_data();
    void readsEveryFileAsTheIndependentReaderDoes();
    void cutAtAPageBoundaryIsRefusedOrComplete_data();
    void cutAtAPageBoundaryIsRefusedOrComplete();
    void checksThePageAccounting_data();
    void checksThePageAccounting();
    void readsSoundFilesOfOddBytes_data();
    void readsSoundFilesOfOddBytes();

private:
    QTemporaryDir m_dir;
    QMap<QString, QString> m_wholeImports; // sample -> its import in m_dir
};

void TestJetImport::checksThePageAccounting_data() {
    KPL_REQUIRE_JET_SAMPLES();
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("problem");
    for (const char* sample :
         {test::kJet4Sample, test::kUnicodeSample, "access/overflowTestV2000.mdb",
          "access/delColTestV2000.mdb", "access/fixedNumericTestV2000.mdb",
          "installation/KPL_Presets_Source.mdb", "installation/KPL_Presets.mdb"})
        QTest::newRow(sample) << sample << "" << "";
    const char* source = "installation/KPL_Presets_Source.mdb";
    QTest::newRow("a user table's data page marked free")
        << source << "marked free" << "(owned page of the table on page";
    QTest::newRow("a user table's data page naming another owner")
        << source << "owner" << "names another owner";
    QTest::newRow("a user table's data page stating the wrong free space")
        << source << "free space" << "bytes free; its rows leave";
}

// The samples as their writers left them pass the check; each damage to the
// first data page of a user table is found.
void TestJetImport::checksThePageAccounting() {
    QFETCH(QString, sample);
    QFETCH(QString, damage);
    QFETCH(QString, problem);
    QByteArray file = test::jetSampleBytes(sample);
    constexpr int pageSize = 4096;
    const auto page = [&](int number) { return file.mid(qsizetype(number) * pageSize, pageSize); };
    QList<quint32> userTables;
    const JetDatabase original(test::jetSample(sample));
    for (const JetCatalogTable& table : original.catalog().userTables)
        userTables.append(table.definitionPage);
    int target = 3;
    while (page(target).at(0) != 1 ||
           !userTables.contains(qFromLittleEndian<quint32>(page(target).constData() + 4)))
        ++target;
    char* bytes = file.data() + qsizetype(target) * pageSize;
    if (damage == "marked free") {
        // Row 0 of page 1: the map's kind, the page of its first bit, the bits.
        const int row = qFromLittleEndian<quint16>(file.constData() + pageSize + 14) & 0x1fff;
        const char* map = file.constData() + pageSize + row;
        const int bit = target - int(qFromLittleEndian<quint32>(map + 1));
        file[pageSize + row + 5 + bit / 8] = char(map[5 + bit / 8] | 1 << bit % 8);
    } else if (damage == "owner") {
        ++bytes[4];
    } else if (damage == "free space") {
        ++bytes[2];
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("damaged.mdb");
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    out.close();
    const JetDatabase jet(path);
    const QStringList problems =
        checkJetPageAccounting(jet.pages(), jet.catalog().tableDefinitionPages);
    if (problem.isEmpty())
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    else
        QVERIFY2(problems.size() == 1 && problems[0].contains(problem),
                 qPrintable(problems.join('\n')));
}

void TestJetImport::readsEveryFileAsTheIndependentReaderDoes_data() {
    KPL_REQUIRE_JET_SAMPLES();
    QTest::addColumn<QString>("sample");
    const QDir folder(test::jetSampleFolder());
    for (const QString& subfolder : {QStringLiteral("."), QStringLiteral("access")}) {
        const QStringList dumps =
            QDir(folder.filePath(subfolder)).entryList({"*.expected.jsonl"}, QDir::Files);
        for (const QString& dump : dumps) {
            const QString sample = QDir::cleanPath(subfolder + '/' + dump.section('.', 0, 0));
            QTest::newRow(qPrintable(sample)) << sample + QStringLiteral(".mdb");
        }
    }
}

void TestJetImport::readsEveryFileAsTheIndependentReaderDoes() {
    QFETCH(QString, sample);
    QTemporaryDir dir;
    const QString target = dir.filePath("imported.mdb");
    const QList<TableCount> counts = importJetDatabase(test::jetSample(sample), target).tables;
    const QList<ExpectedTable> expected =
        expectedTables(test::jetSample(sample).replace(".mdb", ".expected.jsonl"));
    if (!expected.isEmpty()) { // a chosen table alone, named in any letter case
        const QString chosen = dir.filePath("chosen.mdb");
        importJetDatabase(test::jetSample(sample), chosen, {expected.last().name.toUpper()});
        QCOMPARE(Database::open(chosen).tableNames(), QStringList{expected.last().name});
    }
    Database database = Database::open(target);
    const QStringList names = database.tableNames();
    QCOMPARE(names.size(), expected.size());
    for (int t = 0; t < expected.size(); ++t) {
        const ExpectedTable& table = expected.at(t);
        QVERIFY2(names.contains(table.name), qPrintable(table.name));
        const TableCount& count = counts.at(names.indexOf(table.name));
        QCOMPARE(count.declared, table.declaredRows);
        QCOMPARE(count.written, qint64(table.rows.size()));
        const TableDef definition = database.tableDef(table.name);
        QCOMPARE(definition.fieldCount(), table.columns.size());
        for (int c = 0; c < table.columns.size(); ++c) {
            const Field field = definition.field(c);
            const Field wanted = expectedField(table.columns[c].toArray());
            QCOMPARE(
                Field({field.name, field.type, field.type == FieldType::Text ? field.size : 0}),
                wanted);
        }
        Recordset rows = database.openRecordset(table.name);
        for (const QJsonArray& row : table.rows) {
            for (int c = 0; c < row.size(); ++c)
                QVERIFY2(sameValue(rows.value(c), row[c]),
                         qPrintable(QStringLiteral("%1, column %2: read %3, expected %4")
                                        .arg(table.name, definition.field(c).name,
                                             shortened(rows.value(c)),
                                             QString::fromUtf8(QJsonDocument(QJsonArray{row[c]})
                                                                   .toJson(QJsonDocument::Compact)
                                                                   .left(80)))));
            rows.moveNext();
        }
        QVERIFY(rows.eof());
    }
}

void TestJetImport::cutAtAPageBoundaryIsRefusedOrComplete_data() {
    KPL_REQUIRE_JET_SAMPLES();
    QTest::addColumn<QString>("sample");
    QTest::addColumn<int>("pages");
    for (const char* sample : {test::kJet3Sample, test::kJet4Sample, test::kUnicodeSample,
                               "access/overflowTestV2000.mdb", "access/queryTestV1997.mdb"}) {
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

void TestJetImport::readsSoundFilesOfOddBytes_data() {
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("reportLine");
    // Offsets in access/testV1997.mdb: the row count in the definition of
    // Table1 (page 29) and of the catalog (page 2), and in the second row of
    // Table1 its Currency value H and the third letter of its text A.
    const auto decimal = [](const char* text) {
        return QVariant::fromValue(*Decimal::fromText(QString::fromLatin1(text)));
    };
    const QByteArray threeAndAHalf = QByteArray::fromHex("b888000000000000");
    QTest::newRow("a table declaring fewer rows than it holds")
        << qint64(29 * 2048 + 12) << QByteArray::fromHex("02000000")
        << QByteArray::fromHex("01000000") << 1 << "A" << QVariant(u"abcdefg"_qs)
        << "  Table1: 2 read, 2 written; the file declares 1\n";
    QTest::newRow("a catalog declaring more entries than it holds")
        << qint64(2 * 2048 + 12) << QByteArray::fromHex("16000000")
        << QByteArray::fromHex("19000000") << 1 << "A" << QVariant(u"abcdefg"_qs)
        << "  the system catalog holds 22 entries; the file declares 25\n";
    QTest::newRow("a catalog declaring fewer entries than it holds")
        << qint64(2 * 2048 + 12) << QByteArray::fromHex("16000000")
        << QByteArray::fromHex("01000000") << 1 << "A" << QVariant(u"abcdefg"_qs)
        << "  the system catalog holds 22 entries; the file declares 1\n";
    QTest::newRow("a byte code page 1252 leaves undefined")
        << qint64(65476) << QByteArray("c") << QByteArray("\x81") << 1 << "A"
        << QVariant(u"ab\u0081defg"_qs) << "  Table1: 2 read, 2 written\n";
    QTest::newRow("the largest Currency value")
        << qint64(65466) << threeAndAHalf << QByteArray::fromHex("ffffffffffffff7f") << 1 << "H"
        << decimal("922337203685477.5807") << "  Table1: 2 read, 2 written\n";
    QTest::newRow("the smallest Currency value")
        << qint64(65466) << threeAndAHalf << QByteArray::fromHex("0000000000000080") << 1 << "H"
        << decimal("-922337203685477.5808") << "  Table1: 2 read, 2 written\n";
}

// Sound files that sample files changed byte by byte stand for: the import
// reads them whole, the value read back is exact, and the report says where
// a count the file declares differs from what it holds.
void TestJetImport::readsSoundFilesOfOddBytes() {
    QFETCH(qint64, offset);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, reportLine);
    QTemporaryDir dir;
    QFile changed(dir.filePath("changed.mdb"));
    QByteArray bytes = test::jetSampleBytes("access/testV1997.mdb");
    QCOMPARE(bytes.mid(offset, before.size()), before);
    QVERIFY(changed.open(QIODevice::WriteOnly));
    changed.write(bytes.replace(offset, before.size(), after));
    changed.close();
    QString report;
    QTextStream out(&report);
    try {
        printTableCounts(out,
                         importJetDatabase(changed.fileName(), dir.filePath("changed.sqlite")));
    } catch (const Failure& failure) {
        QFAIL(qPrintable(failure.description));
    }
    QVERIFY2(report.contains(reportLine), qPrintable(report));
    Database database = Database::open(dir.filePath("changed.sqlite"));
    Recordset rows = database.openRecordset("SELECT * FROM Table1");
    rows.moveTo(row);
    QCOMPARE(rows.value(column), value);
}

KPL_TEST_MAIN(TestJetImport)
#include "tst_jetimport.moc"
