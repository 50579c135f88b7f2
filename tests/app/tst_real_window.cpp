#include "Prerequisites.h"
#include "ProjectFiles.h"

#include "Version.h"

#include <QProcess>
#include <QtTest>

using namespace kpl;
using namespace kpl::test;

// The program in a real window on a virtual X display, driven by the
// keyboard like a user.
class TestRealWindow : public QObject {
    Q_OBJECT

private slots:
    void integratedStartConfirmedWithOK() {
        KPL_REQUIRE(hasTool("xvfb-run") && hasTool("xdotool"),
                    "xvfb-run and xdotool are needed for a window on a virtual display");
        TestInstallation install;
        writeProjectFiles(install);
        copyProgram(KPL_PROGRAM, install);
        const QString hostLog = install.path(QStringLiteral("host.log"));
        const QString errors = install.path(QStringLiteral("stderr.txt"));

        QProcess xvfb;
        xvfb.setProcessChannelMode(QProcess::ForwardedChannels);
        xvfb.start(QStringLiteral("xvfb-run"),
                   {"-a", "-s", "-screen 0 1024x768x24 -nolisten tcp", "sh", KPL_DRIVE_SCRIPT,
                    "Erweiterte Konfiguration KPL_Presets - integriert", errors,
                    install.executablePath(), "EXTERNAL", "N4RCFG", "/LOGFILE", hostLog});
        QVERIFY(xvfb.waitForFinished(180000));
        QCOMPARE(xvfb.exitCode(), 0);

        // Read from the machine copy, written to the project.
        const QString ini = install.path(QStringLiteral("parameter/Program.ini"));
        QCOMPARE(iniEntry(ini, "Project", "ManualDowntimeReasons"), QStringLiteral("false"));
        QCOMPARE(iniEntry(ini, "Project", "ManualDowntimeTimerActiv"), QStringLiteral("true"));
        QCOMPARE(iniEntry(ini, "Project", "ManualDowntimeTimer"), QStringLiteral("300"));
        QCOMPARE(
            iniEntry(install.path(QStringLiteral("KPL_Presets/KPL_Presets.cfg")), "Info", "S_Prog"),
            QString::fromLatin1(version::kText) + QStringLiteral(" - Integrated"));
        QVERIFY(!QFile::exists(hostLog));
        // A normal start says nothing on standard error.
        QCOMPARE(install.read(QStringLiteral("stderr.txt")), QByteArray());
    }
};

KPL_TEST_MAIN(TestRealWindow)
#include "tst_real_window.moc"
