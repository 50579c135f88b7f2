#include "ProjectFiles.h"

#include "Version.h"
#include "core/platform/TargetSystem.h"
#include "texts/EditRecord.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace kpl;
using namespace kpl::test;

namespace {

// The built program run as a process, with only the environment given: no
// display, no Qt platform.
struct Run {
    int exitCode = -1;
    QString output;
    QString errors;
};

Run runProgram(const QString& program, const QStringList& arguments, const QStringList& environment,
               const QString& workingDirectory = {}) {
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    QProcessEnvironment env;
    // A Windows program finds its DLLs through PATH and needs SystemRoot.
    if (platform::kWindows)
        for (const char* name : {"PATH", "SystemRoot"})
            env.insert(QLatin1String(name), qEnvironmentVariable(name));
    for (const QString& entry : environment)
        env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        qFatal("%s did not end", qPrintable(program));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// Every file under `folder` with its content.
QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(file.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    return files;
}

} // namespace

// The program's start as a process: options answered before anything else,
// and the silent start, which needs no display.
class TestProgramStart : public QObject {
    Q_OBJECT

private slots:
    void optionsAnswerWithoutTouchingAnyFile_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("printed");
        // The program runs as Other_Config: the usage names it so.
        QTest::newRow("help") << "--help"
                              << QStringList{"Usage: Other_Config [/EXTERNAL N4RCFG",
                                             platform::kWindows ? "a value ends at the next \"/\""
                                                                : "a value ends at the next \" /\"",
                                             "LOGFILE path",
                                             "parameter/Program.ini",
                                             "Exit codes:",
                                             "  0  ",
                                             "  1  ",
                                             "  2  ",
                                             "  3  "};
        QTest::newRow("version") << "--version"
                                 << QStringList{QStringLiteral("KPL_Presets_Config ") +
                                                version::kText};
    }

    void optionsAnswerWithoutTouchingAnyFile() {
        QFETCH(QString, option);
        QFETCH(QStringList, printed);
        TestInstallation install(QStringLiteral("Other"));
        copyProgram(KPL_PROGRAM, install);
        const Run run = runProgram(install.executablePath(), {option}, {});
        QCOMPARE(run.exitCode, 0);
        for (const QString& text : printed)
            QVERIFY2(run.output.contains(text), qPrintable(text));
        QCOMPARE(QDir(install.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"Other"});
        QCOMPARE(QDir(install.componentFolder()).entryList(QDir::Files),
                 QStringList{"Other_Config"});
    }

    // A mistyped option starts nothing: the host would wait behind a window.
    void unknownOptionPrintsTheUsage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("alone") << QStringList{"--silent"};
        QTest::newRow("after the host's keywords") << QStringList{"/EXTERNAL", "SILENT", "--bogus"};
    }

    void unknownOptionPrintsTheUsage() {
        QFETCH(QStringList, arguments);
        TestInstallation install;
        writeProjectFiles(install);
        copyProgram(KPL_PROGRAM, install);
        const QMap<QString, QByteArray> before = filesUnder(install.root());
        const Run run = runProgram(install.executablePath(), arguments, {});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(QStringLiteral("unknown option ") + arguments.last()) &&
                     run.errors.contains(QStringLiteral("Usage: KPL_Presets_Config")),
                 qPrintable(run.errors));
        QCOMPARE(filesUnder(install.root()), before);
    }

    // A start that needs a window where none can be opened.
    void startWithoutDisplayEndsBeforeTouchingAnyFile_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::newRow("integrated, nothing set") << QStringList{"/EXTERNAL"} << QStringList{};
        QTest::newRow("not silent, platform without display")
            << QStringList{"/EXTERNAL", "SILENTX"} << QStringList{"QT_QPA_PLATFORM=xcb"};
        QTest::newRow("standalone, display without server")
            << QStringList{} << QStringList{"DISPLAY=:4711"};
    }

    void startWithoutDisplayEndsBeforeTouchingAnyFile() {
        if (platform::kWindows)
            QSKIP("Windows always has a display");
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        TestInstallation install;
        writeProjectFiles(install);
        copyProgram(KPL_PROGRAM, install);
        const QMap<QString, QByteArray> before = filesUnder(install.root());
        const Run run = runProgram(install.executablePath(), arguments, environment);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.startsWith(QStringLiteral("KPL_Presets_Config: no display: ")),
                 qPrintable(run.errors));
        QVERIFY(run.errors.contains(QStringLiteral("use /EXTERNAL SILENT")));
        QCOMPARE(filesUnder(install.root()), before);
    }

    void silentStartRunsWithoutADisplay() {
        TestInstallation install;
        writeProjectFiles(install);
        copyProgram(KPL_PROGRAM, install);
        const QStringList environment{QStringLiteral("A_EDITOR=tech-nik"),
                                      QStringLiteral("KPL_SERVICE_LOG=") + install.serviceLog()};
        const Run run = runProgram(install.executablePath(), {"EXTERNAL", "SILENT"}, environment);
        QCOMPARE(run.exitCode, 0);
        const QString cfg = install.path(QStringLiteral("KPL_Presets/KPL_Presets.cfg"));
        QCOMPARE(iniEntry(cfg, "Info", "S_Prog"),
                 QString::fromLatin1(version::kText) + QStringLiteral(" - Standalone"));
        // The editor is the value of the first environment entry.
        QCOMPARE(iniEntry(cfg, "Info", "S_Editor"), encodeEditor(QStringLiteral("technik")));
        QCOMPARE(iniEntry(install.path(QStringLiteral("parameter/Program.ini")), "Project",
                          "ManualDowntimeTimer"),
                 QStringLiteral("120"));
        QVERIFY(install.exists(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini")));
    }

    // A component folder with only its link takes the language file the
    // package installed beside the program, not a file of bare keys.
    void linkedComponentGetsTheInstalledLanguageFile() {
        if (platform::kWindows)
            QSKIP("the program is installed by a link only on Linux");
        TestInstallation install;
        writeProjectFiles(install);
        QTemporaryDir usr;
        QVERIFY(QDir().mkpath(usr.filePath("lib/kpl-presets-config")) &&
                QDir().mkpath(usr.filePath("share/kpl-presets-config")));
        const QString program = usr.filePath("lib/kpl-presets-config/KPL_Presets_Config");
        QVERIFY(QFile::copy(KPL_PROGRAM, program));
        const QByteArray installed = "[Language]\r\nLanguage=1031\r\n[1031]\r\nHelp11=Hilfe\r\n";
        QFile file(usr.filePath("share/kpl-presets-config/KPL_Presets_Config.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(installed) == installed.size());
        file.close();
        QVERIFY(QFile::link(program, install.executablePath()));
        const Run run = runProgram(install.executablePath(), {"/EXTERNAL", "SILENT"},
                                   {QStringLiteral("KPL_SERVICE_LOG=") + install.serviceLog()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(iniEntry(install.path(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini")),
                          "1031", "Help11"),
                 QStringLiteral("Hilfe"));
    }

    // Each component folder holds a link to one installed program; the link
    // says which installation and component a start configures. `script` is
    // run by the shell in the project folder with the link's path as $1.
    void silentStartThroughALink_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("componentFolderIsALink");
        const QString byPath = QStringLiteral("exec \"$1\" EXTERNAL SILENT");
        QTest::newRow("link in the component folder") << "KPL_Presets" << byPath << false;
        QTest::newRow("link named after another component") << "KPL_Shifts" << byPath << false;
        QTest::newRow("name found through PATH")
            << "KPL_Presets"
            << "exec KPL_Presets_Config EXTERNAL SILENT" << false;
        QTest::newRow("component folder entered through a link")
            << "KPL_Presets"
            << "cd KPL_Presets && exec ./KPL_Presets_Config EXTERNAL SILENT" << true;
    }

    void silentStartThroughALink() {
        if (platform::kWindows)
            QSKIP("started through a POSIX shell and symbolic links");
        QFETCH(QString, component);
        QFETCH(QString, script);
        QFETCH(bool, componentFolderIsALink);
        TestInstallation install(component);
        writeProjectFiles(install);
        // Without the presets in it, the project's program INI receives them
        // only when the run found the project folder.
        install.write(QStringLiteral("parameter/Program.ini"), "[Project]\r\n");
        QTemporaryDir elsewhere;
        if (componentFolderIsALink) {
            const QString moved = elsewhere.filePath(component);
            QVERIFY(QDir().rename(install.componentFolder(), moved));
            QVERIFY(QFile::link(moved, install.componentFolder()));
        }
        QVERIFY(QFile::link(KPL_PROGRAM, install.executablePath()));
        const QStringList environment{QStringLiteral("PATH=") + install.componentFolder() +
                                          QStringLiteral(":/usr/bin:/bin"),
                                      QStringLiteral("KPL_SERVICE_LOG=") + install.serviceLog()};
        const Run run =
            runProgram(QStringLiteral("/bin/sh"), {"-c", script, "sh", install.executablePath()},
                       environment, install.root());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(iniEntry(install.path(component + '/' + component + QStringLiteral(".cfg")),
                          "Info", "S_Prog"),
                 QString::fromLatin1(version::kText) + QStringLiteral(" - Standalone"));
        QCOMPARE(iniEntry(install.path(QStringLiteral("parameter/Program.ini")), "Project",
                          "ManualDowntimeTimer"),
                 QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestProgramStart)
#include "tst_program_start.moc"
