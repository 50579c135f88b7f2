#include "ScriptedRuntime.h"
#include "TestInstallation.h"
#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "core/ProjectLayout.h"
#include "core/platform/TargetSystem.h"
#include "settings/ProjectPaths.h"

#include <QDir>

#include <QTest>

using namespace kpl;

namespace {
// A path as compared where file names ignore letter case.
QString caseBlind(const QString& path) {
    return platform::kWindows ? path.toUpper() : path;
}
} // namespace

class TestProjectPaths : public QObject {
    Q_OBJECT
private slots:
    void composesPathsFromTheExecutable();
    void projectFolderFollowsThePathRules_data();
    void projectFolderFollowsThePathRules();
    void findsFilesRegardlessOfLetterCase();
    void readsProgramIniOfTheMachineCopyWhenIntegrated_data();
    void readsProgramIniOfTheMachineCopyWhenIntegrated();
    void missingConfigurationFileEndsTheProgram();
    void fileNameOnly_data();
    void fileNameOnly();
    void replaceSearchItem_data();
    void replaceSearchItem();
};

void TestProjectPaths::composesPathsFromTheExecutable() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    QCOMPARE(GetOCXName(state), QStringLiteral("KPL_Presets"));
    QCOMPARE(projectFolder(state), install.root());
    QCOMPARE(GetN4RConfigurationIniPath(state), QString());
    QCOMPARE(GetPathSourceOCXMDB(state), QString());
    // The project database's path comes back whether or not it exists.
    QCOMPARE(GetPathOCXMDB(state), install.path("KPL_Presets/KPL_Presets.mdb"));

    install.write("parameter/n4rconfiguration.ini", "");
    install.write("KPL_Presets/KPL_Presets_Source.mdb", "x");
    install.write("KPL_Presets/KPL_Presets.cfg", "");
    QCOMPARE(GetN4RConfigurationIniPath(state), install.path("parameter/n4rconfiguration.ini"));
    QCOMPARE(GetPathSourceOCXMDB(state), install.path("KPL_Presets/KPL_Presets_Source.mdb"));
    QCOMPARE(GetCFGPath(state), install.path("KPL_Presets/KPL_Presets.cfg"));
    QCOMPARE(rt->boxes.size(), 0);
}

// Where file names ignore letter case the path as composed names the file;
// elsewhere the path is the one found on disk.
// The project folder is the program folder's parent also at a drive's root,
// on a share and beyond 260 characters.
void TestProjectPaths::projectFolderFollowsThePathRules_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("project");
    const QString deep = QStringLiteral("/Projekt") + QString(270, QLatin1Char('x'));
    if (platform::kWindows) {
        QTest::newRow("component folder at a drive's root") << "C:\\Tool\\KPL_Presets_Config.exe"
                                                            << "C:";
        QTest::newRow("project on a share")
            << "\\\\server\\share\\Projekt\\KPL_Presets\\KPL_Presets_Config.exe"
            << "\\\\server\\share\\Projekt";
        QTest::newRow("path beyond 260 characters")
            << "C:" + QDir::toNativeSeparators(deep + "/KPL_Presets/KPL_Presets_Config.exe")
            << "C:" + QDir::toNativeSeparators(deep);
    } else {
        QTest::newRow("component folder at the root") << "/Tool/KPL_Presets_Config"
                                                      << "";
        QTest::newRow("path beyond 260 characters")
            << deep + "/KPL_Presets/KPL_Presets_Config" << deep;
    }
}

void TestProjectPaths::projectFolderFollowsThePathRules() {
    QFETCH(QString, program);
    QFETCH(QString, project);
    test::ScriptedRuntime rt(program);
    ProcessState state(rt);
    QCOMPARE(caseBlind(projectFolder(state)), caseBlind(project));
}

void TestProjectPaths::findsFilesRegardlessOfLetterCase() {
    test::TestInstallation install;
    install.write("PARAMETER/N4RConfiguration.INI", "");
    install.write("PARAMETER/program.INI", "");
    auto rt = install.runtime();
    ProcessState state(*rt);
    QCOMPARE(caseBlind(GetN4RConfigurationIniPath(state)),
             caseBlind(install.path("PARAMETER/N4RConfiguration.INI")));
    QCOMPARE(caseBlind(GetProgramIniPath(state, IniAccess::Write)),
             caseBlind(install.path("PARAMETER/program.INI")));
}

void TestProjectPaths::readsProgramIniOfTheMachineCopyWhenIntegrated_data() {
    QTest::addColumn<bool>("trailingSeparator");
    QTest::newRow("restore folder with trailing separator") << true;
    QTest::newRow("restore folder without") << false;
}

void TestProjectPaths::readsProgramIniOfTheMachineCopyWhenIntegrated() {
    QFETCH(bool, trailingSeparator);
    test::TestInstallation install;
    const QString restore =
        install.path("Restore") + (trailingSeparator ? QString(QDir::separator()) : QString());
    install.write("parameter/n4rconfiguration.ini",
                  "[Common]\r\nSaveAndRestore=" + restore.toUtf8() + "\r\n");
    install.write("parameter/Program.ini", "");
    install.write("Restore/parameter/program.ini", "");
    install.write("Restore/KPL_Presets/KPL_Presets.mdb", "");
    auto rt = install.runtime();
    ProcessState state(*rt);
    state.integratedMode = true;
    QCOMPARE(GetProgramIniPath(state, IniAccess::Read),
             install.path("Restore/parameter/program.ini"));
    QCOMPARE(GetProgramIniPath(state, IniAccess::Write), install.path("parameter/Program.ini"));
    QCOMPARE(GetPathMachineCopyMDB(state, GetN4RConfigurationIniPath(state)),
             install.path("Restore/KPL_Presets/KPL_Presets.mdb"));
    state.integratedMode = false;
    QCOMPARE(GetProgramIniPath(state, IniAccess::Read), install.path("parameter/Program.ini"));
}

void TestProjectPaths::missingConfigurationFileEndsTheProgram() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    try {
        GetCFGPath(state);
        QFAIL("the program went on without its configuration file");
    } catch (const ProcessEnd& end) {
        QCOMPARE(end.code, ExitCode::Ended);
    }
    QCOMPARE(rt->boxes.size(), 1);
    QCOMPARE(rt->boxes[0].text,
             "File not found: \n\r" + install.path("KPL_Presets/KPL_Presets.cfg").toUpper());
    QCOMPARE(rt->boxes[0].title, QStringLiteral("KPL_Presets_Config"));
    QCOMPARE(rt->boxes[0].icon, MsgIcon::Critical);
}

void TestProjectPaths::fileNameOnly_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("folder") << QDir::toNativeSeparators("/Proj/KPL_Presets") << "KPL_Presets";
    QTest::newRow("no separator") << "KPL_Presets"
                                  << "KPL_Presets";
    QTest::newRow("trailing separator") << QDir::toNativeSeparators("/Proj/") << "";
}

void TestProjectPaths::fileNameOnly() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    QCOMPARE(GetFileNameOnly(state, path), name);
}

void TestProjectPaths::replaceSearchItem_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("result");
    QTest::newRow("case ignored") << "Machine ###machine"
                                  << "###MACHINE"
                                  << "3"
                                  << "Machine 3";
    QTest::newRow("first only") << "a ###machine b ###Machine"
                                << "###machine"
                                << "M1"
                                << "a M1 b ###Machine";
    QTest::newRow("not found") << "Speed"
                               << "###machine"
                               << "M1"
                               << "Speed";
    QTest::newRow("empty item") << "Speed"
                                << ""
                                << "M1"
                                << "M1Speed";
    QTest::newRow("after a longer run of #") << "#####machine"
                                             << "###machine"
                                             << "M1"
                                             << "##M1";
    QTest::newRow("at the very end") << "x###MaChInE"
                                     << "###machine"
                                     << "M1"
                                     << "xM1";
    QTest::newRow("cut off at the end") << "x###machin"
                                        << "###machine"
                                        << "M1"
                                        << "x###machin";
    QTest::newRow("item starts with a letter") << "Speed MACHINE"
                                               << "machine"
                                               << "3"
                                               << "Speed 3";
    QTest::newRow("case beyond ASCII") << "#\u00c4rger"
                                       << "#\u00e4RGER"
                                       << "x"
                                       << "x";
    QTest::newRow("case beyond ASCII later") << "a#x\u00c4"
                                             << "#X\u00e4"
                                             << "y"
                                             << "ay";
    QTest::newRow("symbols are no letters") << "#@"
                                            << "#`"
                                            << "y"
                                            << "#@";
}

void TestProjectPaths::replaceSearchItem() {
    QFETCH(QString, text);
    QFETCH(QString, item);
    QFETCH(QString, replacement);
    QFETCH(QString, result);
    QCOMPARE(ReplaceSearchItem(text, item, replacement), result);
}

QTEST_GUILESS_MAIN(TestProjectPaths)
#include "tst_projectpaths.moc"
