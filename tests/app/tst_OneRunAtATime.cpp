#include "ProjectFiles.h"

#include <QProcess>
#include <QtTest>

using namespace kpl::test;

// Two silent runs of one installation started at the same moment: the second
// waits for the first, so neither loses the other's entries.
class TestOneRunAtATime : public QObject {
    Q_OBJECT

private slots:
    void twoRunsAtOnceLoseNoLanguageEntry() {
        TestInstallation install;
        writeProjectFiles(install);
        copyProgram(KPL_PROGRAM, install);
        const QString languageFile = QStringLiteral("KPL_Presets/KPL_Presets_Config.ini");
        QCOMPARE(runTogether(install, 1), (QList<int>{0}));
        const QByteArray alone = install.read(languageFile);
        for (int round = 0; round < 3; ++round) {
            QVERIFY(QFile::remove(install.path(languageFile)));
            QCOMPARE(runTogether(install, 2), (QList<int>{0, 0}));
            QCOMPARE(install.read(languageFile), alone);
        }
    }

private:
    // Starts `count` silent runs at once; their exit codes.
    static QList<int> runTogether(const TestInstallation& install, int count) {
        QProcessEnvironment env;
        env.insert(QStringLiteral("KPL_SERVICE_LOG"), install.serviceLog());
        std::vector<std::unique_ptr<QProcess>> runs;
        for (int i = 0; i < count; ++i) {
            runs.push_back(std::make_unique<QProcess>());
            runs.back()->setProcessEnvironment(env);
            runs.back()->start(install.executablePath(), {"/EXTERNAL", "SILENT"});
        }
        QList<int> codes;
        for (const auto& run : runs) {
            if (!run->waitForFinished(60000))
                qFatal("a silent run did not end");
            codes.append(run->exitStatus() == QProcess::NormalExit ? run->exitCode() : -1);
        }
        return codes;
    }
};

QTEST_GUILESS_MAIN(TestOneRunAtATime)
#include "tst_OneRunAtATime.moc"
