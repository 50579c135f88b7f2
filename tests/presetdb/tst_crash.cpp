#include "DemoProject.h"
#include "JetSamples.h"
#include "Prerequisites.h"
#include "TestSystem.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

using namespace kpl;

// Kills the silent configuration at random moments and checks that nothing
// is ever half written: the project database is the old or the new file,
// both databases are sound (a Jet source, which the run replaces whole, is
// the old or the new file), and every INI entry is the old or the new one.
class TestCrash : public QObject {
    Q_OBJECT
private slots:
    void killedRunLeavesOldOrNewFiles_data();
    void killedRunLeavesOldOrNewFiles();

private:
    struct Files {
        QByteArray project;
        QByteArray source;
        QByteArray programIni;
        QByteArray cfg;
    };
    static Files filesOf(const QString& root);
    static void copyTree(const QString& from, const QString& to);
    static qint64 runSilent(const QString& root, int killAfterMs);
};

namespace {
const QString kProject = QStringLiteral("KPL_Presets/KPL_Presets.mdb");
const QString kSource = QStringLiteral("KPL_Presets/KPL_Presets_Source.mdb");
const QString kProgramIni = QStringLiteral("parameter/Program.ini");
const QString kCfg = QStringLiteral("KPL_Presets/KPL_Presets.cfg");

// Whether `now` is complete: entries are written one at a time, each whole,
// so every line is the line as it was before or as it is after the run.
bool isEntryWiseMix(const QByteArray& now, const QByteArray& before, const QByteArray& after) {
    const QList<QByteArray> lines = now.split('\n');
    const QList<QByteArray> old = before.split('\n');
    const QList<QByteArray> fresh = after.split('\n');
    if (lines.size() != old.size() || lines.size() != fresh.size())
        return now == before || now == after;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i] != old[i] && lines[i] != fresh[i])
            return false;
    }
    return true;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A few thousand template rows, and an earlier run's table for them whose
// column and variable names are current, so that the run changes the project
// database only by replacing it.
QString enlargeScript(bool earlierRun) {
    QString script = QStringLiteral(
        "INSERT INTO Source_PRESET_DEFS SELECT 100 + i, 'KPL', 'INT', 1 + i % 4, 'Gen' || i, 10, "
        "0, 100 + i, 'Generated ' || i || ' of ###machine', 'Page_###machine', 0, 100, 10, 90, 1 "
        "FROM (WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 3000) "
        "SELECT i FROM k);\n");
    if (earlierRun) {
        QFile earlierRunSql(QStringLiteral(KPL_SOURCE_DIR "/scripts/demo-data/earlier-run.sql"));
        if (!earlierRunSql.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(earlierRunSql.fileName()));
        script +=
            QStringLiteral("DROP TABLE PRESET_DEFS;\n") +
            QString::fromUtf8(earlierRunSql.readAll())
                .replace(QStringLiteral("@machine"), QStringLiteral("'M1'"))
                .replace(QStringLiteral("@system"), QStringLiteral("'VisiWin32'"))
                .replace(QStringLiteral("@tune"), QStringLiteral("5")) +
            QStringLiteral("ALTER TABLE PRESET_DEFS RENAME COLUMN CATEGORIE TO category_id;\n");
    }
    return script;
}
} // namespace

TestCrash::Files TestCrash::filesOf(const QString& root) {
    return {readFile(root + '/' + kProject), readFile(root + '/' + kSource),
            readFile(root + '/' + kProgramIni),
            readFile(root + '/' + kCfg)};
}

void TestCrash::copyTree(const QString& from, const QString& to) {
    QDir(to).removeRecursively();
    QVERIFY(test::copyTree(from, to));
}

qint64 TestCrash::runSilent(const QString& root, int killAfterMs) {
    QProcess program;
    program.setWorkingDirectory(root + QStringLiteral("/KPL_Presets"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KPL_SERVICE_LOG"), root + QStringLiteral("/service.log"));
    program.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    program.start(root + test::programFileName(QStringLiteral("/KPL_Presets/KPL_Presets_Config")),
                  {QStringLiteral("EXTERNAL"), QStringLiteral("SILENT")});
    program.waitForStarted();
    if (killAfterMs >= 0) {
        QThread::msleep(killAfterMs);
        program.kill();
    }
    program.waitForFinished(120000);
    return timer.elapsed();
}

void TestCrash::killedRunLeavesOldOrNewFiles_data() {
    QTest::addColumn<bool>("jet");
    QTest::addColumn<int>("rounds");
    QTest::newRow("SQLite databases") << false << 80;
    QTest::newRow("Jet databases") << true << 40;
}

void TestCrash::killedRunLeavesOldOrNewFiles() {
    QFETCH(bool, jet);
    QFETCH(int, rounds);
    KPL_REQUIRE(test::DemoProject::templateExists(),
                "the project is copied from the suite's demo project (test demo_template)");
    test::DemoProject demo;
    QVERIFY(demo.isValid());
    if (jet) {
        KPL_REQUIRE_JET_SAMPLES();
        for (const QString& db : {demo.sourceDb(), demo.projectDb()}) {
            QFile::remove(db);
            test::copyJetSample("installation/" + QFileInfo(db).fileName(), db);
        }
    } else {
        demo.sql(demo.sourceDb(), enlargeScript(false) + "DROP TABLE PRESET_DEFS;\n");
        demo.sql(demo.projectDb(), enlargeScript(true));
    }
    QVERIFY(QFile::copy(
        QStringLiteral(KPL_EXECUTABLE),
        demo.path(test::programFileName(QStringLiteral("KPL_Presets/KPL_Presets_Config")))));
    const QString pristine = demo.path(QStringLiteral("pristine"));
    const QString work = demo.path(QStringLiteral("work"));
    QDir().mkpath(pristine);
    for (const char* part : {"parameter", "KPL_Presets", "Restore"})
        copyTree(demo.path(QLatin1String(part)), pristine + QLatin1Char('/') + QLatin1String(part));

    const Files before = filesOf(pristine);
    copyTree(pristine, work);
    const qint64 duration = runSilent(work, -1);
    const Files after = filesOf(work);
    QVERIFY(after.project != before.project);
    QCOMPARE(after.project, after.source);
    QVERIFY(after.cfg != before.cfg);

    // Half the kills fall anywhere in the run, half sweep its last stretch in
    // steps of a millisecond, where the databases are closed and copied.
    int oldProject = 0;
    int newProject = 0;
    for (int round = 0; round < rounds; ++round) {
        copyTree(pristine, work);
        const int sweep = round - rounds / 2;
        runSilent(work, sweep < 0 ? QRandomGenerator::global()->bounded(int(duration) + 20)
                                  : int(duration) - rounds / 2 + sweep);
        const Files now = filesOf(work);
        QVERIFY2(now.project == before.project || now.project == after.project,
                 qPrintable(QStringLiteral("round %1: project database half written").arg(round)));
        QVERIFY2(!jet || now.source == before.source || now.source == after.source,
                 qPrintable(QStringLiteral("round %1: Jet source half written").arg(round)));
        (now.project == before.project ? oldProject : newProject)++;
        QVERIFY(isEntryWiseMix(now.programIni, before.programIni, after.programIni));
        QVERIFY(isEntryWiseMix(now.cfg, before.cfg, after.cfg));
        for (const QString& db : {kSource, kProject})
            if (!jet)
                QCOMPARE(demo.query(work + '/' + db, "PRAGMA integrity_check;"), QByteArray("ok\n"));
    }
    qInfo("run takes %lld ms; killed before the replacement %d times, after it %d times", duration,
          oldProject, newProject);
}

KPL_TEST_MAIN(TestCrash)
#include "tst_crash.moc"
