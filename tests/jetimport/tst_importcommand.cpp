#include "DemoProject.h"
#include "FailingFileCalls.h"
#include "JetSamples.h"
#include "TestInstallation.h"

#include "core/ProcessState.h"
#include "core/platform/TargetSystem.h"
#include "database/Database.h"
#include "jetimport/FileKind.h"
#include "jetimport/ImportCommand.h"
#include "jetimport/JetDatabase.h"
#include "jetimport/JetPageCheck.h"
#include "jetimport/JetToSqlite.h"
#include "presetdb/WorkOnMDB.h"
#include "settings/CommandLine.h"
#include "settings/Machines.h"
#include "settings/ProjectPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace kpl;

namespace {

const QString kSource = QStringLiteral("KPL_Presets/KPL_Presets_Source.mdb");
const QString kProject = QStringLiteral("KPL_Presets/KPL_Presets.mdb");
const QString kMachineCopy = QStringLiteral("Restore/KPL_Presets/KPL_Presets.mdb");
const QStringList kAllDatabases{kSource, kProject, kMachineCopy};

// The command's exit code and what it printed.
struct CommandRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CommandRun run(const QStringList& arguments, Runtime& runtime) {
    CommandRun result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.exitCode = runJetImport(arguments, out, err, runtime);
    return result;
}

// An installation as the import finds one: a project folder with the
// component's configuration file.
class Installation : public test::TestInstallation {
public:
    Installation() { write(QStringLiteral("KPL_Presets/KPL_Presets.cfg"), "[Project]\r\n"); }
};

void writeRestoreFolder(const test::TestInstallation& install) {
    install.write("parameter/n4rconfiguration.ini",
                  "[Common]\r\nSaveAndRestore=" + install.path("Restore").toUtf8() + "\r\n");
}

// An installation whose host configuration names a restore folder, with a
// Jet copy of the Jet 4 sample under each of the three database names.
void layOutJetInstallation(const test::TestInstallation& install) {
    writeRestoreFolder(install);
    for (const QString& database : kAllDatabases)
        test::copyJetSample(test::kJet4Sample, install.path(database));
}

// A silent run on the demo project through `calls` (integrated: with the
// machine copy); the number of failures it reported.
int silentRun(const test::DemoProject& demo, bool integrated = false,
              platform::FileCalls& calls = platform::systemFileCalls()) {
    auto runtime = demo.runtime(integrated ? QStringLiteral("/EXTERNAL N4RCFG /LOGFILE ") +
                                                 QDir::toNativeSeparators(demo.path("cfg.log"))
                                           : QStringLiteral("/EXTERNAL SILENT"));
    ProcessState state(*runtime);
    state.useFileCalls(calls);
    GetStartModeIntegrated(state);
    GetExistingMachines(state, GetN4RConfigurationIniPath(state));
    WorkOnMDB(state);
    return state.failuresReported;
}

// PRESET_DEFS of the database `path`: the columns with their types and every
// cell with its kind, as text.
QStringList presetDefsCells(const QString& path) {
    Database database = Database::open(path);
    QStringList cells;
    const TableDef definition = database.tableDef(QStringLiteral("PRESET_DEFS"));
    for (const Field& field : definition.fields())
        cells.append(
            QStringLiteral("%1 %2 %3").arg(field.name).arg(int(field.type)).arg(field.size));
    for (Recordset rows = database.openRecordset(QStringLiteral("PRESET_DEFS")); !rows.eof();
         rows.moveNext()) {
        for (int i = 0; i < rows.fieldCount(); ++i)
            cells.append(QStringLiteral("%1: %2").arg(QLatin1String(rows.value(i).typeName()),
                                                      rows.value(i).toString()));
    }
    return cells;
}

// The demo project with the three databases of the Jet installation sample in
// place of its own: the samples and where they went.
QList<std::pair<QString, QString>> placeJetInstallation(const test::DemoProject& demo) {
    const QList<std::pair<QString, QString>> placed{
        {"installation/KPL_Presets_Source.mdb", demo.sourceDb()},
        {"installation/KPL_Presets.mdb", demo.projectDb()},
        {"installation/machine-copy-KPL_Presets.mdb", demo.machineCopyDb()}};
    for (const auto& [sample, target] : placed) {
        QFile::remove(target);
        test::copyJetSample(sample, target);
    }
    return placed;
}

// Puts the built program at the installation's executable path (a hard
// link where the file system allows one), so that it finds the installation.
void placeProgram(const test::TestInstallation& install) {
    std::error_code error;
    std::filesystem::create_hard_link(KPL_EXECUTABLE, install.executablePath().toStdString(),
                                      error);
    if (error && !QFile::copy(KPL_EXECUTABLE, install.executablePath()))
        qFatal("cannot place the program in %s", qPrintable(install.root()));
}

} // namespace

// The --import-jet command: an installation's databases in place, and one
// file into a new file.
class TestImportCommand : public QObject {
    Q_OBJECT
private slots:
    void init() { KPL_REQUIRE_JET_SAMPLES(); }

    void importsTheThreeDatabasesOfAnInstallation();
    void demoInstallationRoundTrip();
    void silentRunOnJetFilesKeepsJetFiles_data();
    void silentRunOnJetFilesKeepsJetFiles();
    void existingBackupStopsBeforeAnyFileChanges();
    void failureStopsAtTheFileThatFailed();
    void namesDatabasesThatAreMissing();
    void refusesWhatIsNoReadableFileBeforeAnything_data();
    void refusesWhatIsNoReadableFileBeforeAnything();
    void failedWriteLeavesTheJetFileAsItWas_data();
    void failedWriteLeavesTheJetFileAsItWas();
    void importsOneFileIntoANewFile();
    void oneFileFailureExitsNonZero();
    void wrongUsageExitsNonZero_data();
    void wrongUsageExitsNonZero();
};

void TestImportCommand::importsTheThreeDatabasesOfAnInstallation() {
    Installation install;
    layOutJetInstallation(install);
    auto runtime = install.runtime();
    const CommandRun first = run({"--import-jet"}, *runtime);
    QCOMPARE(first.err, QString());
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.out.count("  MSP_PROJECTS: 1 read, 1 written\n"), 3);
    for (const QString& name : kAllDatabases) {
        QVERIFY2(first.out.contains(install.path(name) + ": Jet 4, importing"),
                 qPrintable(first.out));
        QCOMPARE(install.read(name + ".jet"), test::jetSampleBytes(test::kJet4Sample));
        Database database = Database::open(install.path(name));
        QCOMPARE(database.openRecordset("MSP_PROJECTS").recordCount(), 1);
    }
    QCOMPARE(runtime->boxes.size(), 0);

    // A second run finds nothing left to import.
    const CommandRun second = run({"--import-jet"}, *runtime);
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.out.count("already an SQLite database, left alone"), 3);
}

// The demo installation with its three databases written as Jet files: once
// imported, a silent run gives the PRESET_DEFS of the same run on the SQLite
// demo, value for value, and the kept Jet files are the files put in place.
void TestImportCommand::demoInstallationRoundTrip() {
    KPL_REQUIRE(test::DemoProject::templateExists(),
                "the demo project is copied from the suite's one (test demo_template)");
    KPL_REQUIRE(QFileInfo::exists(test::jetSample("installation/KPL_Presets.mdb")),
                "The Jet files of the demo installation are missing: jet/installation/ under "
                "KPL_SHARED_TESTDATA.");
    test::DemoProject sqliteDemo;
    test::DemoProject jetDemo;
    QVERIFY(sqliteDemo.isValid() && jetDemo.isValid());
    const auto placed = placeJetInstallation(jetDemo);
    auto importRuntime = jetDemo.runtime();
    const CommandRun import = run({"--import-jet"}, *importRuntime);
    QVERIFY2(import.exitCode == 0, qPrintable(import.err));
    for (const auto& [sample, target] : placed)
        QCOMPARE(jetDemo.read(target + ".jet"), test::jetSampleBytes(sample));
    QCOMPARE(silentRun(sqliteDemo), 0);
    QCOMPARE(silentRun(jetDemo), 0);
    const QStringList expected = presetDefsCells(sqliteDemo.sourceDb());
    QCOMPARE(presetDefsCells(jetDemo.sourceDb()), expected);
    QCOMPARE(expected.size(), 15 + 40 * 15); // the columns, then 40 records
}

void TestImportCommand::silentRunOnJetFilesKeepsJetFiles_data() {
    QTest::addColumn<bool>("integrated");
    QTest::addColumn<bool>("renameFails");
    QTest::addColumn<QString>("projectSlip");
    QTest::addColumn<QByteArray>("logged"); // empty: the run succeeds
    QTest::newRow("written") << false << false << "" << QByteArray();
    QTest::newRow("integrated, from the machine copy") << true << false << "" << QByteArray();
    QTest::newRow("the source's replacement fails")
        << true << true << ""
        << QByteArray("was put in its place. Its content before the run is kept");
    QTest::newRow("the project database cannot be read")
        << false << false << "cut" << QByteArray("a Jet database cannot be read: ");
    QTest::newRow("an SQLite project database, used as it is")
        << false << false << "sqlite" << QByteArray();
    QTest::newRow("the HMI has the project database open")
        << true << false << "open" << QByteArray("the database engine has it open");
}

// A silent run on the Jet installation leaves Jet files: the project database
// holds the PRESET_DEFS the same run gives on the installation imported, its
// pages accounted for, and no temporary file is left. When the Jet source
// cannot be replaced or a database cannot be read, it stays as it was, and so
// does the project database (or the machine copy put in its place: the
// renames made in its import are not in it); a project database the engine
// has open is not even replaced by the machine copy.
void TestImportCommand::silentRunOnJetFilesKeepsJetFiles() {
    QFETCH(bool, integrated);
    QFETCH(bool, renameFails);
    QFETCH(QString, projectSlip);
    QFETCH(QByteArray, logged);
    KPL_REQUIRE(test::DemoProject::templateExists(),
                "the demo project is copied from the suite's one (test demo_template)");
    test::DemoProject sqliteDemo;
    test::DemoProject jetDemo;
    QVERIFY(sqliteDemo.isValid() && jetDemo.isValid());
    placeJetInstallation(sqliteDemo);
    const auto placed = placeJetInstallation(jetDemo);
    auto importRuntime = sqliteDemo.runtime();
    QCOMPARE(run({"--import-jet"}, *importRuntime).exitCode, 0);
    QCOMPARE(silentRun(sqliteDemo, integrated), 0);

    if (projectSlip == "cut")
        jetDemo.write("KPL_Presets/KPL_Presets.mdb", jetDemo.read(jetDemo.projectDb()).first(5000));
    if (projectSlip == "open")
        jetDemo.write("KPL_Presets/KPL_Presets.ldb", QByteArray());
    if (projectSlip == "sqlite") {
        importJetDatabase(jetDemo.projectDb(), jetDemo.path("project.db"));
        QVERIFY(QFile::remove(jetDemo.projectDb()));
        QVERIFY(QFile::rename(jetDemo.path("project.db"), jetDemo.projectDb()));
    }
    const QByteArray projectFile = jetDemo.read(jetDemo.projectDb());
    const QByteArray projectBefore =
        integrated && projectSlip != "open" ? test::jetSampleBytes(placed[2].first) : projectFile;
    test::FailingFileCalls calls(test::FailingFileCalls::Call::Rename, std::errc::io_error,
                                 renameFails ? QStringLiteral("KPL_Presets_Source.mdb")
                                             : QString());
    QCOMPARE(silentRun(jetDemo, integrated,
                       renameFails ? static_cast<platform::FileCalls&>(calls)
                                   : platform::systemFileCalls()),
             logged.isEmpty() ? 0 : 1);
    QCOMPARE(QDir(jetDemo.path("KPL_Presets")).entryList({"*kpltmp*"}, QDir::Files), QStringList());
    if (!logged.isEmpty()) {
        QCOMPARE(jetDemo.read(jetDemo.sourceDb()), test::jetSampleBytes(placed[0].first));
        QCOMPARE(jetDemo.read(jetDemo.projectDb()), projectBefore);
        const QByteArray log = jetDemo.read(jetDemo.path(integrated ? "cfg.log" : "N4Rcfglog.txt"));
        QVERIFY2(log.contains(logged), log.constData());
        return;
    }
    QCOMPARE(fileKind(jetDemo.projectDb()), FileKind::Jet4);
    QCOMPARE(jetDemo.read(jetDemo.projectDb() + ".bak"), projectFile);
    const QString imported = jetDemo.path("imported.db");
    importJetDatabase(jetDemo.projectDb(), imported);
    QCOMPARE(presetDefsCells(imported), presetDefsCells(sqliteDemo.sourceDb()));
    JetDatabase written(jetDemo.projectDb());
    QCOMPARE(checkJetPageAccounting(written.pages(), written.catalog().tableDefinitionPages),
             QStringList());
    KPL_REQUIRE_MDB_EXPORT();
    QCOMPARE(test::mdbExport({}, jetDemo.projectDb(), "PRESET_DEFS").size(), 1 + 40);
}

void TestImportCommand::existingBackupStopsBeforeAnyFileChanges() {
    Installation install;
    layOutJetInstallation(install);
    install.write(kMachineCopy + ".jet", "kept earlier");
    auto runtime = install.runtime();
    const CommandRun result = run({"--import-jet"}, *runtime);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("before any file was changed") &&
                 result.err.contains(install.path(kMachineCopy) + ".jet already exists"),
             qPrintable(result.err));
    for (const QString& name : kAllDatabases)
        QCOMPARE(install.read(name), test::jetSampleBytes(test::kJet4Sample));
    QVERIFY(!install.exists(kSource + ".jet"));
    QVERIFY(!install.exists(kProject + ".jet"));
    QCOMPARE(install.read(kMachineCopy + ".jet"), QByteArray("kept earlier"));
}

// A file cut at a page boundary passes every check made before the import
// and fails while it is read.
void TestImportCommand::failureStopsAtTheFileThatFailed() {
    Installation install;
    layOutJetInstallation(install);
    const QByteArray cut = test::jetSampleBytes(test::kJet4Sample).left(40 * 4096);
    install.write(kProject, cut);
    auto runtime = install.runtime();
    const CommandRun result = run({"--import-jet"}, *runtime);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("Import of " + install.path(kProject) + " failed"),
             qPrintable(result.err));
    QCOMPARE(fileKind(install.path(kSource)), FileKind::Sqlite);
    QCOMPARE(install.read(kProject), cut);
    QVERIFY(!install.exists(kProject + ".jet"));
    QCOMPARE(install.read(kMachineCopy), test::jetSampleBytes(test::kJet4Sample));
}

void TestImportCommand::namesDatabasesThatAreMissing() {
    Installation install;
    test::copyJetSample(test::kJet3Sample, install.path(kProject));
    auto runtime = install.runtime();
    const CommandRun result = run({"--import-jet"}, *runtime);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, "Source database: not found\n"
                         "Project database " +
                             install.path(kProject) +
                             ": Jet 3, importing\n"
                             "  MSP_PROJECTS: 1 read, 1 written\n"
                             "  the Jet file is kept as " +
                             install.path(kProject) +
                             ".jet\n"
                             "Machine copy: not found\n");
    QCOMPARE(runtime->boxes.size(), 0);
}

void TestImportCommand::refusesWhatIsNoReadableFileBeforeAnything_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("reason");
    const QString notAFile = QStringLiteral("is a folder, device or pipe");
    QTest::newRow("folder") << "folder" << notAFile;
    QTest::newRow("pipe, which is never opened") << "pipe" << notAFile;
    QTest::newRow("device, through a link") << "device" << notAFile;
    QTest::newRow("file without read permission") << "unreadable"
                                                  << "cannot be read: Permission denied";
    QTest::newRow("link leading nowhere")
        << "link"
        << "cannot be read: No such file or directory (it is a link to";
}

void TestImportCommand::refusesWhatIsNoReadableFileBeforeAnything() {
    QFETCH(QString, what);
    QFETCH(QString, reason);
    if (platform::kWindows && (what == "device" || what == "link"))
        QSKIP("a link on Windows is a shortcut file, which the import takes for a file");
    Installation install;
    layOutJetInstallation(install);
    const QString project = install.path(kProject);
    QFile::remove(project);
    if (what == "folder")
        QDir().mkpath(project);
    else if (what == "pipe" && QProcess::execute("mkfifo", {project}) != 0)
        QSKIP("mkfifo is needed to make a pipe");
    else if (what == "device" && !QFile::link("/dev/null", project))
        QSKIP("no /dev/null to link to");
    else if (what == "link")
        QFile::link(install.path("nowhere.mdb"), project);
    if (what == "unreadable") {
        test::copyJetSample(test::kJet4Sample, project);
        QFile::setPermissions(project, {});
        if (QFile(project).open(QIODevice::ReadOnly))
            QSKIP("this user reads files without read permission");
    }
    auto runtime = install.runtime();
    const CommandRun result = run({"--import-jet"}, *runtime);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("before any file was changed") && result.err.contains(reason),
             qPrintable(result.err));
    QVERIFY(!result.out.contains("not found"));
    QCOMPARE(install.read(kSource), test::jetSampleBytes(test::kJet4Sample));
}

// A file size limit stands in for a full disk.
void TestImportCommand::failedWriteLeavesTheJetFileAsItWas_data() {
    QTest::addColumn<int>("limitKiB");
    QTest::addColumn<QString>("reason");
    QTest::newRow("the new database") << 16 << "Cannot write the new database";
    QTest::newRow("the kept Jet file") << 128 << "Cannot keep the Jet file";
}

void TestImportCommand::failedWriteLeavesTheJetFileAsItWas() {
    QFETCH(int, limitKiB);
    QFETCH(QString, reason);
    if (QStandardPaths::findExecutable("bash").isEmpty())
        QSKIP("bash is needed to limit the size of files");
    Installation install;
    test::copyJetSample(test::kJet4Sample, install.path(kProject));
    placeProgram(install);
    QProcess import;
    import.start(
        "bash",
        {"-c", QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" --import-jet").arg(limitKiB),
         install.executablePath()});
    QVERIFY(import.waitForFinished(60000));
    QCOMPARE(import.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(import.readAllStandardError());
    QVERIFY2(err.contains(reason), qPrintable(err));
    QCOMPARE(install.read(kProject), test::jetSampleBytes(test::kJet4Sample));
    QCOMPARE(QDir(install.componentFolder()).entryList(QDir::Files),
             (QStringList{"KPL_Presets.cfg", "KPL_Presets.mdb", "KPL_Presets_Config",
                          "KPL_Presets_Config.lock"}));
}

void TestImportCommand::importsOneFileIntoANewFile() {
    QTemporaryDir dir;
    test::ScriptedRuntime runtime(dir.filePath("KPL_Presets_Config"));
    const QString target = dir.filePath("new.mdb");
    const CommandRun result =
        run({"--import-jet", test::jetSample(test::kUnicodeSample), target}, runtime);
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.endsWith("  Table: 8 read, 8 written\n"), qPrintable(result.out));
    QCOMPARE(fileKind(target), FileKind::Sqlite);
}

void TestImportCommand::oneFileFailureExitsNonZero() {
    QTemporaryDir dir;
    test::ScriptedRuntime runtime(dir.filePath("KPL_Presets_Config"));
    const QString target = dir.filePath("new.mdb");
    const CommandRun result = run({"--import-jet", dir.filePath("missing.mdb"), target}, runtime);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.startsWith("Import failed: "), qPrintable(result.err));
    // Refused before the import is announced.
    QCOMPARE(result.out, QString());
    QVERIFY(!QFile::exists(target));
}

void TestImportCommand::wrongUsageExitsNonZero_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("one file") << QStringList{"--import-jet", "a.mdb"};
    QTest::newRow("three files") << QStringList{"--import-jet", "a.mdb", "b.mdb", "c.mdb"};
    QTest::newRow("after start keywords") << QStringList{"/EXTERNAL", "SILENT", "--import-jet"};
    QTest::newRow("with a start keyword") << QStringList{"--import-jet", "/LOGFILE", "x.log"};
    QTest::newRow("outside an installation") << QStringList{"--import-jet"};
}

void TestImportCommand::wrongUsageExitsNonZero() {
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    test::ScriptedRuntime runtime(dir.filePath("KPL_Presets_Config"));
    const CommandRun result = run(arguments, runtime);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("Usage: KPL_Presets_Config --import-jet"), qPrintable(result.err));
    QCOMPARE(result.out, QString());
    QVERIFY(QDir(dir.path()).isEmpty()); // not even a lock file
}

KPL_TEST_MAIN(TestImportCommand)
#include "tst_importcommand.moc"
