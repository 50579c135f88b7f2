#include "Prerequisites.h"
#include "ProjectFiles.h"

#include "Version.h"
#include "core/platform/TargetSystem.h"

#include <QProcess>
#include <QtTest>

using namespace kpl;
using namespace kpl::test;

// The program in a real window on a virtual X display, driven by the
// keyboard like a user.
class TestRealWindow : public QObject {
    Q_OBJECT

private slots:
    // Each way out of the window ends the process with its own exit code.
    void integratedStartLeftByTheKeyboard_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("presets");
        QTest::addColumn<QString>("editRecord");
        QTest::addColumn<QByteArray>("logged");
        const QString window = QStringLiteral("Erweiterte Konfiguration KPL_Presets - integriert");
        // Read from the machine copy, written to the project.
        QTest::newRow("OK") << window + "=space" << 0 << QStringList{"false", "true", "300"}
                            << QString::fromLatin1(version::kText) + " - Integrated"
                            << QByteArray();
        QTest::newRow("Cancel, Yes")
            << window + "=Tab space|Cancel?=alt+y" << 3 << QStringList{"true", "false", "120"}
            << "1.0.1 - Standalone"
            << QByteArray("Konfigurations-EXE wurde abgebrochen:     KPL_Presets\r\n");
    }

    void integratedStartLeftByTheKeyboard() {
        QFETCH(QString, steps);
        QFETCH(int, exitCode);
        QFETCH(QStringList, presets);
        QFETCH(QString, editRecord);
        QFETCH(QByteArray, logged);
        KPL_SKIP_UNLESS(!platform::kWindows,
                        "the window is driven on a virtual X display with Linux tools");
        KPL_REQUIRE(hasTool("xvfb-run") && hasTool("xdotool"),
                    "xvfb-run and xdotool are needed for a window on a virtual display");
        TestInstallation install;
        writeProjectFiles(install);
        copyProgram(KPL_PROGRAM, install);
        const QString hostLog = install.path(QStringLiteral("host.log"));
        const QString errors = install.path(QStringLiteral("stderr.txt"));

        // The display's cookie in a folder of the test's own: xvfb-run then
        // makes no temporary folder whose removal, when it fails, would end
        // it with its own exit code instead of the program's.
        const QTemporaryDir display;
        QProcess xvfb;
        xvfb.setProcessChannelMode(QProcess::ForwardedChannels);
        xvfb.start(QStringLiteral("xvfb-run"),
                   {"-a", "-f", display.filePath(QStringLiteral("Xauthority")), "-s",
                    "-screen 0 1024x768x24 -nolisten tcp", "sh", KPL_DRIVE_SCRIPT, errors, steps,
                    install.executablePath(), "EXTERNAL", "N4RCFG", "/LOGFILE", hostLog});
        QVERIFY(xvfb.waitForFinished(180000));
        QCOMPARE(xvfb.exitCode(), exitCode);

        const QString ini = install.path(QStringLiteral("parameter/Program.ini"));
        QCOMPARE((QStringList{iniEntry(ini, "Project", "ManualDowntimeReasons"),
                              iniEntry(ini, "Project", "ManualDowntimeTimerActiv"),
                              iniEntry(ini, "Project", "ManualDowntimeTimer")}),
                 presets);
        QCOMPARE(
            iniEntry(install.path(QStringLiteral("KPL_Presets/KPL_Presets.cfg")), "Info", "S_Prog"),
            editRecord);
        QCOMPARE(install.read(QStringLiteral("host.log")), logged);
        // A normal start says nothing on standard error.
        QCOMPARE(install.read(QStringLiteral("stderr.txt")), QByteArray());
    }
};

KPL_TEST_MAIN(TestRealWindow)
#include "tst_real_window.moc"
