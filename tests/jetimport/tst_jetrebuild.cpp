#include "FailingFileCalls.h"
#include "JetSamples.h"

#include "core/Failure.h"
#include "database/Database.h"
#include "database/Field.h"
#include "database/Recordset.h"
#include "jetimport/JetDataPageBuilder.h"
#include "jetimport/JetDatabase.h"
#include "jetimport/JetDefinitionWriter.h"
#include "jetimport/JetExport.h"
#include "jetimport/JetPageCheck.h"
#include "jetimport/JetRowEncoder.h"
#include "jetimport/JetTableDefinition.h"
#include "jetimport/JetTableRebuild.h"
#include "jetimport/JetToSqlite.h"
#include "jetimport/JetUsageMap.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace kpl;
using test::failureText;
using test::readAll;
using test::writeAll;

Q_DECLARE_METATYPE(kpl::test::FailingFileCalls::Call)

namespace {

const QString kSource = QStringLiteral("installation/KPL_Presets_Source.mdb");

struct TableContent {
    QList<JetColumn> columns;
    QList<QVariantList> rows;
};

TableContent readTable(const QString& path, const QString& name) {
    JetDatabase database(path);
    JetTable table = database.openTable(name);
    TableContent content{table.columns(), {}};
    while (table.fetchRow())
        content.rows.append(table.rowValues());
    return content;
}

// The templates of the installation sample, `times` over, each with its own ID.
TableContent presetRows(int times) {
    TableContent source = readTable(test::jetSample(kSource), QStringLiteral("Source_PRESET_DEFS"));
    TableContent content{source.columns, {}};
    for (int i = 0; i < times; ++i) {
        for (QVariantList row : source.rows) {
            row[0] = qint64(content.rows.size() + 1);
            content.rows.append(row);
        }
    }
    return content;
}

// Rebuilds `table` of `path` with `content` and checks the file: the table
// reads back exactly, every other table as before, the page accounting is
// sound, and the independent reader sees the same rows.
void rebuildAndCheck(const QString& path, const QString& table, const TableContent& content) {
    QMap<QString, TableContent> others;
    for (const QString& name : JetDatabase(path).userTableNames()) {
        if (name != table)
            others.insert(name, readTable(path, name));
    }
    const QString failure =
        failureText([&] { rebuildJetTable(path, table, content.columns, content.rows); });
    QVERIFY2(failure.isNull(), qPrintable(failure));
    QCOMPARE(readTable(path, table).rows, content.rows);
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        QCOMPARE(readTable(path, it.key()).rows, it.value().rows);
    JetDatabase database(path);
    QCOMPARE(checkJetPageAccounting(database.pages(), database.catalog().tableDefinitionPages),
             QStringList());
    // The table's map marks exactly the data pages naming it: none left
    // behind empty, none released still naming it.
    quint32 definitionPage = 0;
    for (const JetCatalogTable& entry : database.catalog().userTables)
        definitionPage = entry.name == table ? entry.definitionPage : definitionPage;
    QList<quint32> naming;
    for (quint32 number = 1; number < QFileInfo(path).size() / 4096; ++number) {
        if (database.pages().dataPage(number).belongsTo(definitionPage))
            naming.append(number);
    }
    QCOMPARE(naming, usageMapPages(database.pages(),
                                   readTableMaps(database.pages(), definitionPage).usageMap));
    JetTable catalog(database.pages(), QStringLiteral("MSysObjects"), kJetCatalogDefinitionPage,
                     JetTextDecoder::jet4());
    while (catalog.fetchRow()) {
        if (catalog.value(indexOfField(catalog.columns(), QStringLiteral("Name"))) != table)
            continue;
        for (const char* stale : {"DateCreate", "DateUpdate", "LvProp"})
            QVERIFY2(
                !catalog.value(indexOfField(catalog.columns(), QLatin1String(stale))).isValid(),
                stale);
    }
    if (!test::mdbExportRuns())
        return;
    const QStringList lines = test::mdbExport({QStringLiteral("-H")}, path, table);
    QCOMPARE(lines.size(), content.rows.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        QVERIFY2(lines[i].startsWith(content.rows[i][0].toString() + ',') &&
                     lines[i].contains('"' + content.rows[i][4].toString() + '"'),
                 qPrintable(lines[i]));
}

} // namespace

// Rebuilding a table in place inside a Jet 4 file.
class TestJetRebuild : public QObject {
    Q_OBJECT

private slots:
    void init() { KPL_REQUIRE_JET_SAMPLES(); }

    void writesTheDefinitionTheEngineWrites();
    void rebuildsTablesInPlace_data();
    void rebuildsTablesInPlace();
    void keepsTheFileBoundedOverRepeatedRebuilds();
    void refusesBeforeWriting_data();
    void refusesBeforeWriting();
    void keepsTheFileWhenTheWriteFails_data();
    void keepsTheFileWhenTheWriteFails();
    void catchesAPageLostOnItsWay();
    void writesADatabaseTableIntoTheJetFile_data();
    void writesADatabaseTableIntoTheJetFile();
};

void TestJetRebuild::writesTheDefinitionTheEngineWrites() {
    const JetDatabase database(test::jetSample(kSource));
    const quint32 page = [&] {
        for (const JetCatalogTable& table : database.catalog().userTables) {
            if (table.name == QLatin1String("Source_PRESET_DEFS"))
                return table.definitionPage;
        }
        return quint32(0);
    }();
    const JetTableDefinition stored =
        readTableDefinition(database.pages(), page, JetTextDecoder::jet4());
    QList<JetColumn> columns = stored.columns;
    layOutJet4Columns(columns);
    const QByteArray definition =
        jet4TableDefinition(columns, stored.declaredRowCount, stored.usageMap, stored.freeSpaceMap);
    const QByteArray expected = database.pages().page(page);
    QCOMPARE(jet4DefinitionPages(definition, {page}).first().toHex(' '), expected.toHex(' '));
}

void TestJetRebuild::rebuildsTablesInPlace_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("extraColumns");
    QTest::addColumn<int>("markedFree"); // a page the global map marks free though in use
    for (const char* installation :
         {"KPL_Presets_Source.mdb", "KPL_Presets.mdb", "machine-copy-KPL_Presets.mdb"})
        QTest::newRow(installation)
            << QStringLiteral("installation/") + installation << "PRESET_DEFS" << 3 << 0 << 0;
    QTest::newRow("emptied") << kSource << "PRESET_DEFS" << 0 << 0 << 0;
    QTest::newRow("a definition over several pages") << kSource << "PRESET_DEFS" << 2 << 200 << 0;
    QTest::newRow("its definition page marked free") << kSource << "PRESET_DEFS" << 1 << 0 << 33;
    QTest::newRow("its map rows' page marked free") << kSource << "PRESET_DEFS" << 1 << 0 << 34;
    // A table the database engine wrote (inline page maps), rebuilt with the
    // preset columns.
    QTest::newRow("overflow rows") << "access/overflowTestV2000.mdb"
                                   << "Table1" << 2 << 0 << 0;
}

void TestJetRebuild::rebuildsTablesInPlace() {
    QFETCH(QString, sample);
    QFETCH(QString, table);
    QFETCH(int, times);
    QFETCH(int, extraColumns);
    QFETCH(int, markedFree);
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.mdb");
    QByteArray bytes = test::jetSampleBytes(sample);
    if (markedFree != 0)
        bytes[4096 + 4027 + 5 + markedFree / 8] |= char(1 << markedFree % 8);
    writeAll(path, bytes);
    TableContent content = presetRows(times);
    for (int i = 0; i < extraColumns; ++i) {
        content.columns.append(JetColumn{QStringLiteral("extra_column_%1").arg(i), jet::Byte});
        for (QVariantList& row : content.rows)
            row.append(i % 2 ? QVariant() : QVariant(qint64(i % 256)));
    }
    rebuildAndCheck(path, table, content);
    KPL_REQUIRE_MDB_EXPORT();
}

void TestJetRebuild::keepsTheFileBoundedOverRepeatedRebuilds() {
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.mdb");
    test::copyJetSample(kSource, path);
    const qsizetype templates = presetRows(1).rows.size();
    const QList<int> cycle{12000, 40, 12000, 40, 12000, 3000};
    // After the cycle twice as many rows, then the pages past the 512 the
    // global map first holds released.
    const QList<int> steps = cycle + QList<int>{24000, 40};
    qint64 bound = 0;
    for (qsizetype step = 0; step < steps.size(); ++step) {
        TableContent content = presetRows(int(steps[step] / templates) + 1);
        content.rows.resize(steps[step]);
        rebuildAndCheck(path, QStringLiteral("PRESET_DEFS"), content);
        const qint64 size = QFileInfo(path).size();
        bound = bound == 0 ? size : bound;
        QVERIFY2(step >= cycle.size() || size <= bound, qPrintable(QString::number(size)));
    }
    // The global map grown, marking the pages past the file's end free as
    // the engine does.
    const JetDatabase database(path);
    const qsizetype mapBits = (database.pages().row({1, 0}).size() - 5) * 8;
    QVERIFY(mapBits > 512);
    QCOMPARE(usageMapPages(database.pages(), {1, 0}).last(), quint32(mapBits - 1));
    KPL_REQUIRE_MDB_EXPORT();
}

void TestJetRebuild::refusesBeforeWriting_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("slip");
    QTest::addColumn<QString>("reason");
    const QString presets = QStringLiteral("PRESET_DEFS");
    QTest::newRow("Jet 3") << QString(test::kJet3Sample) << "Table1"
                           << ""
                           << "Jet 3";
    QTest::newRow("ACE") << kSource << presets << "ace"
                         << "ACE";
    QTest::newRow("encrypted") << kSource << presets << "encrypted"
                               << "encrypted";
    QTest::newRow("lock file beside it") << kSource << presets << "lock"
                                         << "has it open";
    QTest::newRow("no such table") << kSource << "preset_defs"
                                   << ""
                                   << "has no table preset_defs";
    QTest::newRow("relationship") << kSource << presets << "relationship"
                                  << "relationship";
    QTest::newRow("indexes") << "access/delColTestV2000.mdb"
                             << "Table1"
                             << ""
                             << "has indexes";
    QTest::newRow("page map of another kind") << kSource << presets << "map kind"
                                              << "of a kind that is not written";
    QTest::newRow("a map of map pages lacking the one it needs")
        << kSource << presets << "no map page"
        << "a map page it does not have";
    QTest::newRow("a map of map pages naming a data page")
        << kSource << presets << "data page as map page"
        << "page 35 is no page of a usage map";
    QTest::newRow("pages farther apart than an inline map holds") << "access/overflowTestV2000.mdb"
                                                                  << "Table1"
                                                                  << "many rows"
                                                                  << "farther apart";
    QTest::newRow("a global map of another kind") << kSource << presets << "global map kind"
                                                  << "free pages is of a kind";
    QTest::newRow("a deleted row beside the global map")
        << kSource << presets << "deleted row on page 1"
        << "moved or deleted rows";
    QTest::newRow("global map outgrowing its page") << kSource << presets << "full map page"
                                                    << "would outgrow its page";
    QTest::newRow("Memo column") << kSource << presets << "memo"
                                 << "type that is not written";
    QTest::newRow("row too long") << kSource << presets << "long row"
                                  << "at most 4060";
    QTest::newRow("a catalog whose Id shares its null bit with DateCreate")
        << kSource << presets << "catalog Id bit"
        << "no longer leads to the rebuilt table";
}

void TestJetRebuild::refusesBeforeWriting() {
    QFETCH(QString, sample);
    QFETCH(QString, table);
    QFETCH(QString, slip);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.mdb");
    QByteArray bytes = test::jetSampleBytes(sample);
    TableContent content = presetRows(slip == "full map page" ? 0 : slip == "many rows" ? 600 : 1);
    constexpr qsizetype page = 4096;
    // The sample's pages as the slips below read them.
    const JetPages pages(JetFormat::of(FileKind::Jet4), [&](quint32 number, QByteArray& read) {
        read = bytes.mid(qsizetype(number) * page, page);
        return QString();
    });
    if (slip == "ace")
        bytes[0x14] = 3;
    else if (slip == "encrypted")
        bytes[0x3e] = char(bytes[0x3e] ^ 1); // the first byte of the masked key
    else if (slip == "lock")
        writeAll(dir.filePath("copy.ldb"), QByteArray());
    else if (slip == "relationship") {
        // A row naming PRESET_DEFS in MSysRelationships (defined on page 5,
        // its page map row 26 of page 6) on a page appended to the file.
        const QList<JetColumn> columns =
            readTableDefinition(pages, 5, JetTextDecoder::jet4()).columns;
        QVariantList values;
        for (const JetColumn& column : columns)
            values.append(column.type == jet::Text ? QVariant(QStringLiteral("PRESET_DEFS"))
                                                   : QVariant(qint64(0)));
        const quint32 appended = quint32(bytes.size() / page);
        bytes += buildJet4DataPages(5, {encodeJet4Row(columns, values)}).first();
        bytes.replace(6 * page + 2233, 69, *inlineUsageMap({appended}, 69));
        bytes[page + 4027 + 5 + appended / 8] &= char(~(1 << appended % 8));
    } else if (slip == "global map kind")
        bytes[page + 4027] = 1;
    else if (slip == "deleted row on page 1")
        bytes[page + 14 + 2 + 1] = char(bytes[page + 14 + 2 + 1] | 0x80);
    else if (slip == "no map page")
        bytes.replace(34 * page + 4027 + 1, 4, QByteArray(4, '\0'));
    else if (slip == "data page as map page")
        bytes.replace(34 * page + 3958, 5, QByteArray::fromHex("0123000000"));
    else if (slip == "map kind")
        bytes[34 * page + 3958] = 2; // PRESET_DEFS's free-space map: row 1 of page 34
    else if (slip == "full map page") {
        // The global map cut to 32 pages on a page that has no room left,
        // and the table's pages beyond them to be released.
        const QByteArray map = bytes.mid(page + 4027, 9);
        const QByteArray filler(kJet4LongestRow, '\0');
        const QByteArray rest(jet4FreeSpace(3, int(map.size() + filler.size())), '\0');
        bytes.replace(page, page, buildJet4DataPages(1, {map, filler, rest}).first());
    } else if (slip == "catalog Id bit") {
        // MSysObjects's Id column numbered as DateCreate: the catalog row
        // reads as before, but loses its Id once DateCreate is set to Null.
        const JetFormat& format = JetFormat::of(FileKind::Jet4);
        const QList<JetColumn> columns =
            readTableDefinition(pages, kJetCatalogDefinitionPage, JetTextDecoder::jet4()).columns;
        const int id = columns[indexOfField(columns, QStringLiteral("Id"))].number;
        const int created = columns[indexOfField(columns, QStringLiteral("DateCreate"))].number;
        const qsizetype definition = kJetCatalogDefinitionPage * page;
        qsizetype entry = definition + format.firstIndexOffset +
                          qFromLittleEndian<quint32>(bytes.constData() + definition +
                                                     format.realIndexCountOffset) *
                              format.realIndexEntrySize;
        while (qFromLittleEndian<quint16>(bytes.constData() + entry + format.columnNumberOffset) !=
               id)
            entry += format.columnEntrySize;
        qToLittleEndian<quint16>(quint16(created),
                                 bytes.data() + entry + format.columnNumberOffset);
    } else if (slip == "memo")
        content.columns[4].type = jet::Memo;
    else if (slip == "long row") {
        // Nine Text columns of 255 characters outside Latin-1: 4590 bytes.
        for (int i = 0; i < 4; ++i) {
            content.columns.append(content.columns[4]);
            content.columns.last().name += QString::number(i);
            for (QVariantList& row : content.rows)
                row.append(QVariant());
        }
        for (JetColumn& column : content.columns)
            column.size = column.type == jet::Text ? 510 : column.size;
        for (QVariant& value : content.rows[0])
            value = value.typeId() == QMetaType::QString || !value.isValid()
                        ? QVariant(QString(255, QChar(0x416)))
                        : value;
    }
    writeAll(path, bytes);
    const QString failure =
        failureText([&] { rebuildJetTable(path, table, content.columns, content.rows); });
    QVERIFY2(failure.contains(reason), qPrintable(failure));
    QCOMPARE(readAll(path), bytes);
}

void TestJetRebuild::keepsTheFileWhenTheWriteFails_data() {
    QTest::addColumn<test::FailingFileCalls::Call>("call");
    QTest::newRow("create") << test::FailingFileCalls::Call::Create;
    QTest::newRow("write") << test::FailingFileCalls::Call::Write;
    QTest::newRow("sync") << test::FailingFileCalls::Call::Sync;
    QTest::newRow("rename") << test::FailingFileCalls::Call::Rename;
}

void TestJetRebuild::keepsTheFileWhenTheWriteFails() {
    QFETCH(test::FailingFileCalls::Call, call);
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.mdb");
    test::copyJetSample(kSource, path);
    const QByteArray before = readAll(path);
    test::FailingFileCalls calls(call, std::errc::no_space_on_device);
    const TableContent content = presetRows(2);
    const QString failure = failureText(
        [&] { rebuildJetTable(path, "PRESET_DEFS", content.columns, content.rows, calls); });
    QVERIFY2(failure.contains("No space left"), qPrintable(failure));
    QCOMPARE(readAll(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"copy.mdb"});
}

// A device that loses the writes of one page without a word.
class LosingBuffer : public QBuffer {
public:
    LosingBuffer(QByteArray* bytes, qint64 lostPage) : QBuffer(bytes), m_lost(lostPage) {}

protected:
    qint64 writeData(const char* data, qint64 size) override {
        return pos() == m_lost * 4096 ? size : QBuffer::writeData(data, size);
    }

private:
    qint64 m_lost;
};

void TestJetRebuild::catchesAPageLostOnItsWay() {
    QByteArray bytes = test::jetSampleBytes(kSource);
    auto device = std::make_unique<LosingBuffer>(&bytes, 35); // its first data page
    device->open(QIODevice::ReadWrite);
    JetPageFile file(std::move(device));
    const TableContent content = presetRows(2);
    const QString failure =
        failureText([&] { rebuildJetTable(file, "PRESET_DEFS", content.columns, content.rows); });
    QVERIFY2(failure.contains("does not read back"), qPrintable(failure));
}

void TestJetRebuild::writesADatabaseTableIntoTheJetFile_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("reason");
    QTest::newRow("rows edited and deleted")
        << "UPDATE PRESET_DEFS SET min = 42.5, var_name = 'Ändert' WHERE ID = 3"
        << "";
    QTest::newRow("a Memo column") << "ALTER TABLE PRESET_DEFS ADD COLUMN note MEMO"
                                   << "a type a Jet table cannot take";
    QTest::newRow("a Text column too long") << "ALTER TABLE PRESET_DEFS ADD COLUMN note TEXT(256)"
                                            << "a type a Jet table cannot take";
}

// The program's own database, imported from the Jet file and changed there,
// written back into the Jet file; imported again it holds the same rows.
void TestJetRebuild::writesADatabaseTableIntoTheJetFile() {
    QFETCH(QString, change);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString jetPath = dir.filePath("copy.mdb");
    test::copyJetSample(kSource, jetPath);
    importJetDatabase(jetPath, dir.filePath("changed.sqlite"));
    Database changed = Database::open(dir.filePath("changed.sqlite"));
    changed.execute("DELETE FROM PRESET_DEFS WHERE ID > 10");
    changed.execute(change);
    const QString failure =
        failureText([&] { exportTableToJet(changed, QStringLiteral("PRESET_DEFS"), jetPath); });
    QVERIFY2(reason.isEmpty() ? failure.isNull() : failure.contains(reason), qPrintable(failure));
    if (!reason.isEmpty())
        return;
    importJetDatabase(jetPath, dir.filePath("again.sqlite"));
    Database again = Database::open(dir.filePath("again.sqlite"));
    const auto rows = [](Database& database) {
        QList<QVariantList> all;
        for (Recordset records = database.openRecordset("PRESET_DEFS"); !records.eof();
             records.moveNext()) {
            QVariantList row;
            for (int i = 0; i < records.fieldCount(); ++i)
                row.append(records.value(i));
            all.append(row);
        }
        return all;
    };
    QCOMPARE(again.tableDef("PRESET_DEFS").fields(), changed.tableDef("PRESET_DEFS").fields());
    QCOMPARE(rows(again), rows(changed));
    QCOMPARE(rows(again).size(), 10);
}

QTEST_GUILESS_MAIN(TestJetRebuild)
#include "tst_jetrebuild.moc"
