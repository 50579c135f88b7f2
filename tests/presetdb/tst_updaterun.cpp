#include "DemoProject.h"
#include "Prerequisites.h"
#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "database/Database.h"
#include "errors/Procedure.h"
#include "presetdb/ProjectDatabase.h"
#include "presetdb/ProjectReplacement.h"
#include "presetdb/Takeover.h"
#include "presetdb/WorkOnMDB.h"
#include "settings/CommandLine.h"
#include "settings/Machines.h"
#include "settings/ProjectPaths.h"

#include <QFileInfo>
#include <QTest>

using namespace kpl;

namespace {

// The start-up that precedes a confirmation: start mode and machine list.
void startUp(ProcessState& state) {
    GetStartModeIntegrated(state);
    GetExistingMachines(state, GetN4RConfigurationIniPath(state));
}

struct Row {
    qint64 id;
    QString varName;
    QString text;
    double min;
    double max;
    qint64 pass;
};

QList<Row> presetDefs(const QString& path) {
    Database db = Database::open(path);
    Recordset rs = db.openRecordset(QStringLiteral("PRESET_DEFS"));
    QList<Row> rows;
    for (; !rs.eof(); rs.moveNext())
        rows.append({rs.value("ID").toLongLong(), rs.value("var_name").toString(),
                     rs.value("text").toString(), rs.value("min").toDouble(),
                     rs.value("max").toDouble(), rs.value("pass").toLongLong()});
    return rows;
}

} // namespace

class TestUpdateRun : public QObject {
    Q_OBJECT
private slots:
    void init();
    void standaloneRunCarriesTunedValuesOver();
    void recordsFollowTheTemplatesAndTheOldValues_data();
    void recordsFollowTheTemplatesAndTheOldValues();
    void onlyASoundSourceReplacesTheProject_data();
    void onlyASoundSourceReplacesTheProject();
    void integratedRunTakesTheMachineCopysValues();
    void integratedRunWithoutMachineCopyTellsOnce();
    void emptyOldTableIsNothingToTakeOver();
    void namesWithQuotesAreRenamedAndTakenOver();
    void onlyTheFirstOfTwoMatchingRecordsTakesTheValues();
    void noMachineSelectedCreatesNothing();
    void missingDemandedFieldEndsEvenWhenSilent();
    void takeoverDistrustsTheOldTable_data();
    void takeoverDistrustsTheOldTable();
};

void TestUpdateRun::init() {
    KPL_REQUIRE(test::DemoProject::templateExists(),
                "the demo project is copied from the suite's one (test demo_template)");
}

void TestUpdateRun::standaloneRunCarriesTunedValuesOver() {
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    const QDateTime sourceWritten = QFileInfo(demo.sourceDb()).lastModified();
    const qsizetype oldRecords = presetDefs(demo.projectDb()).size();
    auto rt = demo.runtime();
    ProcessState state(*rt);
    startUp(state);
    WorkOnMDB(state);
    QCOMPARE(rt->boxes.size(), 0);
    QCOMPARE(state.failuresReported, 0);

    const QList<Row> rows = presetDefs(demo.sourceDb());
    QCOMPARE(rows.size(), 40);
    // The window repaints during the run: once per record created, once per
    // old record read.
    QVERIFY2(rt->eventRuns >= rows.size() + oldRecords, qPrintable(QString::number(rt->eventRuns)));
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(rows[i].id, qint64(i + 1));
    QCOMPARE(rows[0].varName, QStringLiteral("M1.BDE.Downtime.DT_Reason01"));
    QCOMPARE(rows[0].text, QStringLiteral("Downtime reason 1 of M1"));
    // Row 3 was tuned by 5 on the machine, row 4 was not.
    QCOMPARE(rows[2].min, 5.0);
    QCOMPARE(rows[2].max, 295.0);
    QCOMPARE(rows[2].pass, qint64(0));
    QCOMPARE(rows[3].min, 0.0);
    QCOMPARE(rows[3].pass, qint64(1));

    QCOMPARE(demo.read(demo.projectDb()), demo.read(demo.sourceDb()));
    QCOMPARE(QFileInfo(demo.sourceDb()).lastModified(), sourceWritten);
    QVERIFY(!QFileInfo::exists(demo.projectDb() + "-journal"));
}

// A standalone run on the demo with one change to its templates (`source`)
// or to the old records (`project`): the record at `row` afterwards. Record 3
// was tuned on the machine (min 5).
void TestUpdateRun::recordsFollowTheTemplatesAndTheOldValues_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("project");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("varName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("min");
    const QString name = "M1.BDE.Downtime.DT_Reason03";
    const QString text = "Downtime reason 3 of M1";
    // Record 3 once more, with `changes`, at the end of `table`.
    const auto copyOf3 = [](const QString& table, const QString& changes) {
        return QString("CREATE TEMP TABLE r AS SELECT * FROM %1 WHERE ID = 3; UPDATE r SET %2; "
                       "INSERT INTO %1 SELECT * FROM r;")
            .arg(table, changes);
    };
    QTest::newRow("three ###machine in a variable-name template: two replaced")
        << "UPDATE Source_DEFS SET Var_Name = '###machine.###MACHINE.###machine.###Var_Name' "
           "WHERE Part = 1 AND System = 'VisiWin32';"
        << "" << 2 << "M1.M1.###machine.DT_Reason03" << text << 0.0;
    QTest::newRow("two ###machine in a text: one replaced")
        << "UPDATE Source_PRESET_DEFS SET text = '###machine and ###machine' WHERE ID = 3;"
        << "" << 2 << name << "M1 and ###machine" << 5.0;
    QTest::newRow("old record differing only in letter case")
        << ""
        << "UPDATE PRESET_DEFS SET machine_type = 'kpl', var_name = upper(var_name) WHERE ID = 3;"
        << 2 << name << text << 5.0;
    QTest::newRow("two machine_types sharing one var_name")
        << copyOf3("Source_PRESET_DEFS", "ID = 41, machine_type = 'KPL2'")
        << copyOf3("PRESET_DEFS", "ID = 42, machine_type = 'KPL2', min = 9") << 40 << name << text
        << 9.0;
    QTest::newRow("two bit numbers sharing one var_name")
        << copyOf3("Source_PRESET_DEFS", "ID = 41, offset_or_bitno = 5")
        << copyOf3("PRESET_DEFS", "ID = 42, offset_or_bitno = 5, min = 9") << 40 << name << text
        << 9.0;
}

void TestUpdateRun::recordsFollowTheTemplatesAndTheOldValues() {
    QFETCH(QString, source);
    QFETCH(QString, project);
    QFETCH(int, row);
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    demo.sql(demo.sourceDb(), source);
    demo.sql(demo.projectDb(), project);
    auto rt = demo.runtime();
    ProcessState state(*rt);
    startUp(state);
    WorkOnMDB(state);
    QCOMPARE(state.failuresReported, 0);
    const Row record = presetDefs(demo.projectDb()).value(row);
    QTEST(record.varName, "varName");
    QTEST(record.text, "text");
    QTEST(record.min, "min");
}

// The end of a run without failures, on the demo's source database as if
// rebuilt: it replaces the project database only when it passes the quick
// check and holds the records created.
void TestUpdateRun::onlyASoundSourceReplacesTheProject_data() {
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<int>("missing");
    QTest::addColumn<QString>("reason");
    QTest::newRow("sound") << false << 0 << QString();
    QTest::newRow("a record fewer than created")
        << false << 1 << "it holds 41 records of PRESET_DEFS where 42 were created";
    QTest::newRow("pages that belong to no table")
        << true << 0 << "it fails the integrity check: *** in database main ***";
}

void TestUpdateRun::onlyASoundSourceReplacesTheProject() {
    QFETCH(bool, damaged);
    QFETCH(int, missing);
    QFETCH(QString, reason);
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    // A table whose entry is gone from the schema leaves pages that belong
    // to nothing.
    if (damaged)
        demo.sql(demo.sourceDb(), "CREATE TABLE notes (x); INSERT INTO notes VALUES ('x'); "
                                  "PRAGMA writable_schema = ON; "
                                  "DELETE FROM sqlite_master WHERE name = 'notes';");
    const QByteArray projectBefore = demo.read(demo.projectDb());
    auto rt = demo.runtime();
    ProcessState state(*rt);
    state.silentMode = true;
    Procedure proc(state, "WorkOnMDB");
    const ProjectDatabase project(state);
    ProjectReplacement(state, proc, demo.sourceDb(), demo.projectDb(), project)
        .finish(QString(), 41 + missing);
    const QByteArray log = demo.read(demo.path("N4Rcfglog.txt"));
    QVERIFY2(log.contains(reason.toUtf8()), log.constData());
    QCOMPARE(demo.read(demo.projectDb()),
             reason.isEmpty() ? demo.read(demo.sourceDb()) : projectBefore);
}

void TestUpdateRun::integratedRunTakesTheMachineCopysValues() {
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    auto rt = demo.runtime("/EXTERNAL N4RCFG /LOGFILE " + demo.path("cfg.log"));
    ProcessState state(*rt);
    startUp(state);
    WorkOnMDB(state);
    QCOMPARE(rt->boxes.size(), 0);
    const QList<Row> rows = presetDefs(demo.projectDb());
    QCOMPARE(rows.size(), 40);
    // The machine copy carries the other variant's names, tuned by 7: they
    // are renamed, then taken over.
    QCOMPARE(rows[2].min, 7.0);
    QCOMPARE(rows[2].max, 293.0);
    QCOMPARE(rows[2].varName, QStringLiteral("M1.BDE.Downtime.DT_Reason03"));
}

void TestUpdateRun::integratedRunWithoutMachineCopyTellsOnce() {
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    QVERIFY(QFile::remove(demo.machineCopyDb()));
    auto rt = demo.runtime("/EXTERNAL N4RCFG /LOGFILE " + demo.path("cfg.log"));
    ProcessState state(*rt);
    startUp(state);
    WorkOnMDB(state);
    QCOMPARE(rt->boxes.size(), 1);
    QCOMPARE(rt->boxes[0].text,
             QStringLiteral("Konnte die Datei:\"KPL_Presets.mdb\" in der Vorlage nicht finden!\r\n"
                            "\r\nIst das Bild in der Vorlage noch nicht vorhanden (also neu)?\r\n"
                            "Dann ist diese Meldung v\u00f6llig normal und es wird eine neue "
                            "Datei mit den Standardwerten erzeugt."));
    QCOMPARE(rt->boxes[0].title, QString());
    // The project database's own tuned values are used.
    QCOMPARE(presetDefs(demo.projectDb())[2].min, 5.0);
}

void TestUpdateRun::emptyOldTableIsNothingToTakeOver() {
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    demo.sql(demo.projectDb(), "DELETE FROM PRESET_DEFS;");
    auto rt = demo.runtime();
    ProcessState state(*rt);
    startUp(state);
    WorkOnMDB(state);
    QCOMPARE(state.failuresReported, 0);
    QCOMPARE(rt->boxes.size(), 0);
    QCOMPARE(presetDefs(demo.projectDb()).size(), 40);
    QCOMPARE(presetDefs(demo.projectDb())[2].min, 0.0);
}

void TestUpdateRun::namesWithQuotesAreRenamedAndTakenOver() {
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    for (const QString& db : {demo.sourceDb(), demo.projectDb()})
        demo.sql(db, "UPDATE Source_PRESET_DEFS SET var_name = 'Say \"hi\"' WHERE ID = 3;");
    // The old record carries the other variant's name, in other letter case.
    demo.sql(demo.projectDb(),
             "UPDATE PRESET_DEFS SET var_name = 'CH1.m1.BDE_Downtime_Say \"hi\"' WHERE ID = 3;");
    auto rt = demo.runtime();
    ProcessState state(*rt);
    startUp(state);
    WorkOnMDB(state);
    QCOMPARE(state.failuresReported, 0);
    const QList<Row> rows = presetDefs(demo.projectDb());
    QCOMPARE(rows[2].varName, QStringLiteral("M1.BDE.Downtime.Say \"hi\""));
    QCOMPARE(rows[2].min, 5.0);
}

void TestUpdateRun::onlyTheFirstOfTwoMatchingRecordsTakesTheValues() {
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    // A second template row exactly like row 3 (a tuned one) at the end.
    demo.sql(demo.sourceDb(),
             "INSERT INTO Source_PRESET_DEFS SELECT 41, machine_type, type, part, "
             "var_name, category_id, isBitArray, offset_or_bitno, text, page_name, "
             "abs_min, abs_max, min, max, pass FROM Source_PRESET_DEFS WHERE ID = 3;");
    auto rt = demo.runtime();
    ProcessState state(*rt);
    startUp(state);
    WorkOnMDB(state);
    const QList<Row> rows = presetDefs(demo.projectDb());
    QCOMPARE(rows.size(), 41);
    QCOMPARE(rows[40].varName, rows[2].varName);
    QCOMPARE(rows[2].min, 5.0);
    QCOMPARE(rows[40].min, 0.0);
}

void TestUpdateRun::noMachineSelectedCreatesNothing() {
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    demo.write("KPL_Presets/KPL_Presets.cfg",
               "[Project]\r\nValidMachines=M10\r\nForMachine1=yes\r\n");
    auto rt = demo.runtime();
    ProcessState state(*rt);
    startUp(state);
    WorkOnMDB(state);
    QCOMPARE(presetDefs(demo.projectDb()).size(), 0);
    QCOMPARE(state.failuresReported, 0);
}

void TestUpdateRun::missingDemandedFieldEndsEvenWhenSilent() {
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    demo.write(
        "KPL_Presets/KPL_Presets.cfg",
        "[Project]\r\nValidMachines=ALL\r\nForMachine1=true\r\nDataBaseAdditionalFields=Lot\r\n");
    auto rt = demo.runtime("/EXTERNAL SILENT");
    ProcessState state(*rt);
    startUp(state);
    try {
        WorkOnMDB(state);
        QFAIL("the run went on without the demanded column");
    } catch (const ProcessEnd& end) {
        QCOMPARE(end.code, ExitCode::Ended);
    }
    QVERIFY(demo.read(demo.path("N4Rcfglog.txt"))
                .contains("Conflict while attempting to extend database!Configurationsfile "
                          "\"KPL_PRESETS.CFG\", demanded field \"LOT\"missing in "
                          "machinecopy-database\n\rConfiguration of \"KPL_PRESETS\" aborted."));
    // The project database was not replaced: its tuned values are still there.
    QCOMPARE(presetDefs(demo.projectDb())[2].min, 5.0);
}

// The takeover on its own, without additional fields: the demo's old table
// has 15 columns, the new one is the source's PRESET_DEFS. Every box is
// answered with its first button.
void TestUpdateRun::takeoverDistrustsTheOldTable_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("boxTitles");
    QTest::addColumn<bool>("ends");
    QTest::newRow("15 columns") << "" << QStringList() << false;
    QTest::newRow("16 columns: a warning, then the takeover goes on")
        << "ALTER TABLE PRESET_DEFS ADD COLUMN Lot TEXT(20);" << QStringList{"KPL_Presets_Config"}
        << false;
    // The count does not fit in 16 bits: the records walked (1) match neither
    // the count (0) nor the new table's 40 records.
    QTest::newRow("32768 records: a count that does not add up ends the run")
        << "INSERT INTO PRESET_DEFS SELECT p.* FROM PRESET_DEFS p, (WITH RECURSIVE k(i) AS "
           "(SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 819) SELECT i FROM k) LIMIT 32728;"
        << QStringList{"Unexpected error", "Fatal error"} << true;
}

void TestUpdateRun::takeoverDistrustsTheOldTable() {
    QFETCH(QString, script);
    QFETCH(QStringList, boxTitles);
    QFETCH(bool, ends);
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    demo.sql(demo.projectDb(), script);
    demo.sql(demo.sourceDb(), "ALTER TABLE PRESET_DEFS RENAME COLUMN CATEGORIE TO category_id;");
    auto rt = demo.runtime();
    rt->answer(MsgAnswer::Yes);
    rt->answer(MsgAnswer::Ok);
    ProcessState state(*rt);
    Database project = Database::open(demo.projectDb());
    Database target = Database::open(demo.sourceDb());
    std::optional<Recordset> old(project.openRecordset("PRESET_DEFS"));
    bool ended = false;
    try {
        TakeoverMachineCopyMDBData(state, target, old);
    } catch (const ProcessEnd& end) {
        QCOMPARE(end.code, ExitCode::Ended);
        ended = true;
    }
    QCOMPARE(ended, ends);
    QStringList titles;
    for (const MessageBoxRequest& box : rt->boxes)
        titles.append(box.title);
    QCOMPARE(titles, boxTitles);
}

KPL_TEST_MAIN(TestUpdateRun)
#include "tst_updaterun.moc"
