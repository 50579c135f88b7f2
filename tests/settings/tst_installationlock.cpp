#include "TestInstallation.h"
#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "settings/InstallationLock.h"

#include <QTest>

using namespace kpl;
using namespace std::chrono_literals;

namespace {

// Lets the other holder of the lock go once events have run `releaseAfter`
// times while the run waits.
class ReleasingRuntime : public test::ScriptedRuntime {
public:
    ReleasingRuntime(const test::TestInstallation& install, platform::FileLock& other,
                     int releaseAfter, const QString& commandLine)
        : ScriptedRuntime(install.executablePath(), commandLine,
                          {QStringLiteral("KPL_SERVICE_LOG=") + install.serviceLog()}),
          m_other(other), m_releaseAfter(releaseAfter) {}
    void doEvents() override {
        if (++eventRuns == m_releaseAfter)
            m_other.release();
    }

private:
    platform::FileLock& m_other;
    int m_releaseAfter;
};

} // namespace

// One run at a time: a run that finds the installation locked waits for it,
// and ends without writing when the other run keeps it too long.
class TestInstallationLock : public QObject {
    Q_OBJECT
private slots:
    void secondRunWaits_data() {
        QTest::addColumn<int>("releaseAfter");
        QTest::addColumn<bool>("silent");
        QTest::newRow("other run ends while waiting") << 2 << false;
        QTest::newRow("other run keeps it") << -1 << false;
        QTest::newRow("other run keeps it, silent") << -1 << true;
    }

    void secondRunWaits() {
        QFETCH(int, releaseAfter);
        QFETCH(bool, silent);
        test::TestInstallation install;
        platform::FileLock other;
        ReleasingRuntime runtime(install, other, releaseAfter,
                                 silent ? QStringLiteral("/EXTERNAL SILENT") : QString());
        ProcessState state(runtime);
        QCOMPARE(other.tryLock(installationLockPath(state)), platform::FileLock::Attempt::Locked);
        try {
            const platform::FileLock lock = lockInstallation(state, 300ms);
            QVERIFY(releaseAfter > 0);
            QCOMPARE(platform::FileLock().tryLock(installationLockPath(state)),
                     platform::FileLock::Attempt::Busy);
            QVERIFY(!install.exists(QStringLiteral("N4Rcfglog.txt")));
        } catch (const ProcessEnd& end) {
            QVERIFY(releaseAfter < 0);
            QCOMPARE(end.code, ExitCode::Ended);
            const QByteArray text = "Another run of KPL_Presets_Config is working on this "
                                    "installation and did not end within 0.3 s (lock file " +
                                    installationLockPath(state).toUtf8() +
                                    "); nothing was written.";
            QCOMPARE(install.read(QStringLiteral("N4Rcfglog.txt")), text + "\r\n");
            QCOMPARE(runtime.boxes.size(), silent ? 0 : 1);
            QCOMPARE(install.read(QStringLiteral("service.log")),
                     silent ? "! Fault KPL_Presets_Config: " + text + "\r\n" : QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(TestInstallationLock)
#include "tst_installationlock.moc"
