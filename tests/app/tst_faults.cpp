#include "DemoProject.h"
#include "FailingFileCalls.h"
#include "FailingJournal.h"
#include "Prerequisites.h"
#include "TestSystem.h"
#include "app/DialogLayout.h"
#include "app/DialogModel.h"
#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "core/platform/FileLock.h"
#include "core/platform/FileTimes.h"
#include "core/platform/TargetSystem.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

#include <functional>
#include <optional>
#include <sys/stat.h>

using namespace kpl;
using test::DemoProject;
using test::FailingFileCalls;

// The program on demo installations with one fault each: whatever fails, the
// values tuned on the machine are never lost, a failure is never reported as
// success, and no log line is without its operation or speaks the library's
// language.
namespace {

const QString kProject = QStringLiteral("KPL_Presets/KPL_Presets.mdb");
const QString kSource = QStringLiteral("KPL_Presets/KPL_Presets_Source.mdb");
const QString kMachineCopy = QStringLiteral("Restore/KPL_Presets/KPL_Presets.mdb");
const QString kPresetRows = QStringLiteral("SELECT * FROM PRESET_DEFS ORDER BY _rowid_;");
// A source database's last write, in nanoseconds since 1970: as precise as
// every system keeps it (100 ns on Windows).
constexpr qint64 kSourceWritten = 1600000000123456700;

// Silent runs are processes of the built program; the others run the
// dialog's confirmation in this process, as the OK button runs it.
enum class Start { Silent, Integrated, Standalone };

// What the run must leave of the databases.
enum class Outcome {
    Untouched,     // every database byte for byte as before, no backup
    Kept,          // the project database's records as the takeover found them, no backup
    LikeCleanRun,  // PRESET_DEFS as on the same installation without the fault
    CleanRunTwice, // the same, and its backup too: the installation was configured twice
};

// A started process that holds a read transaction on a database for a while.
struct Background {
    std::unique_ptr<QProcess> process;
};

// A demo installation with the built program in its component folder.
class Installation : public DemoProject {
public:
    Installation() {
        QFile::copy(QStringLiteral(KPL_PROGRAM),
                    path(test::programFileName(QStringLiteral("KPL_Presets/KPL_Presets_Config"))));
    }
    QString db(const QString& relative) const { return path(relative); }
    void corrupt(const QString& relative, qint64 page, char fill) const {
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek((page - 1) * 4096);
        file.write(QByteArray(4096, fill));
    }
    // Another process reads `relative` in one transaction for `seconds`.
    void holdReadLock(const QString& relative, int seconds) {
        if (!hasSqliteShell())
            return;
        const QString marker = path(QStringLiteral("lock-held"));
        holder.process = std::make_unique<QProcess>();
        holder.process->start(QStringLiteral("sqlite3"), {path(relative)});
        holder.process->write(QStringLiteral("BEGIN;\nSELECT count(*) FROM sqlite_master;\n"
                                             ".shell touch '%1'\n.shell sleep %2\nCOMMIT;\n")
                                  .arg(marker)
                                  .arg(seconds)
                                  .toUtf8());
        holder.process->waitForBytesWritten();
        holder.process->closeWriteChannel();
        for (int wait = 0; wait < 500 && !QFile::exists(marker); ++wait)
            QThread::msleep(10);
    }
    // Leaves a journal as a writer killed in the middle of its transaction
    // leaves it: hot, with the pages the database had before.
    void leaveHotJournal(const QString& relative) {
        if (!hasSqliteShell())
            return;
        QProcess writer;
        writer.start(QStringLiteral("sqlite3"), {path(relative)});
        writer.write(
            "PRAGMA cache_size=10;\nBEGIN;\nUPDATE PRESET_DEFS SET min = min + 1000;\n"
            "CREATE TABLE filler(x);\nINSERT INTO filler SELECT zeroblob(3000) FROM "
            "(WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 200) "
            "SELECT i FROM k);\n.shell kill -9 $PPID\n");
        writer.closeWriteChannel();
        writer.waitForFinished(30000);
        QVERIFY(QFile::exists(path(relative) + QStringLiteral("-journal")));
    }
    // Whether the sqlite3 tool and a POSIX shell are here for another
    // process to hold or break a database with; else the row is unavailable.
    bool hasSqliteShell() {
        if (!platform::kWindows && test::hasTool("sqlite3"))
            return true;
        unavailable = QStringLiteral("another process works on the database through the sqlite3 "
                                     "tool and a POSIX shell");
        return false;
    }
    Background holder;
    // The start of a run with a window went as far as the open dialog.
    bool dialogOpened = false;
    int boxesShown = 0;
    // The lock of a dialog of this installation that is open.
    platform::FileLock openDialog;

    // What an arrangement may add: a check after the run, the user the
    // program runs as, a file system mounted inside the installation (gone
    // with it), failing file calls or journal writes for a run in this
    // process, or why the row cannot run on this machine.
    std::function<void(const Installation&)> afterRun;
    std::optional<uint> runAs;
    QString mounted;
    std::optional<test::FailingFileCalls> failingCalls;
    std::optional<test::FailingJournal> failingJournal;
    QString unavailable;
    ~Installation() {
        if (!mounted.isEmpty())
            test::unmountSmallDisk(mounted);
    }
};

using Arrange = std::function<void(Installation&)>;

struct Run {
    int exitCode = -1;
    QString errorLog;
    // What the run said outside the logs: its boxes, or a silent start's
    // standard error.
    QString shown;
    int boxes = 0; // of a run in this process
};

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// Starts the program silently, as the host starts it.
void startSilent(const Installation& install, QProcess& program) {
    program.setWorkingDirectory(install.path(QStringLiteral("KPL_Presets")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KPL_SERVICE_LOG"),
                       install.path(QStringLiteral("service.log")));
    program.setProcessEnvironment(environment);
    if (const std::optional<uint> user = install.runAs)
        test::runAsUser(program, *user);
    program.start(
        install.path(test::programFileName(QStringLiteral("KPL_Presets/KPL_Presets_Config"))),
        {QStringLiteral("/EXTERNAL"), QStringLiteral("SILENT")});
}

Run runSilent(const Installation& install) {
    QProcess program;
    startSilent(install, program);
    if (!program.waitForFinished(120000))
        qFatal("the program did not end");
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            readText(install.path(QStringLiteral("N4Rcfglog.txt"))),
            // Windows writes its line ends to standard error as CR LF.
            QString::fromLocal8Bit(program.readAllStandardError()).replace("\r\n", "\n")};
}

// A start that shows the dialog: the confirmation is run as the OK button
// runs it, every box answered with its default button.
Run runDialog(Installation& install, Start start) {
    const QString log = start == Start::Integrated ? install.path(QStringLiteral("cfg.log"))
                                                   : install.path(QStringLiteral("N4Rcfglog.txt"));
    auto runtime =
        install.runtime(start == Start::Integrated ? QStringLiteral("/EXTERNAL N4RCFG /LOGFILE ") +
                                                         QDir::toNativeSeparators(log)
                                                   : QString());
    ProcessState state(*runtime);
    if (install.failingCalls)
        state.useFileCalls(*install.failingCalls);
    DialogModel dialog(state, presetsDialogLayout());
    ExitCode code = ExitCode::Normal;
    try {
        dialog.Form_Load();
        install.dialogOpened = true;
        dialog.CommandOK_Click();
    } catch (const ProcessEnd& end) {
        code = end.code;
    }
    install.boxesShown = int(runtime->boxes.size());
    QStringList shown;
    for (const MessageBoxRequest& box : std::as_const(runtime->boxes))
        shown.append(box.text);
    return {int(code), readText(log), shown.join(QLatin1Char('\n')), int(runtime->boxes.size())};
}

Run runProgram(Installation& install, Start start) {
    return start == Start::Silent ? runSilent(install) : runDialog(install, start);
}

// What a run leaves that is neither the installation's nor a backup: a
// pending backup, a journal or a temporary file.
QStringList leftovers(const Installation& install) {
    QStringList found;
    for (QDirIterator it(install.path(QString()), QDir::Files | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString name = it.nextFileInfo().fileName();
        if (name.endsWith(QLatin1String("-pending")) || name.endsWith(QLatin1String("-journal")) ||
            name.contains(QLatin1String(".kpltmp-")))
            found.append(name);
    }
    return found;
}

QByteArray rows(const Installation& install, const QString& relative) {
    return install.query(install.db(relative), kPresetRows);
}

// Gives the source database a last-write time to the nanosecond.
void setSourceWritten(const Installation& install) {
    platform::FileTimes times;
    QVERIFY(platform::readFileTimes(install.db(kSource), times));
    times.lastWrite = kSourceWritten;
    QVERIFY(platform::restoreFileTimes(install.db(kSource), times));
}

qint64 lastWrite(const QString& path) {
    platform::FileTimes times;
    return platform::readFileTimes(path, times) ? times.lastWrite : 0;
}

// The installation handed to an unprivileged user (nobody), which the program
// then runs as, with `mode` on the file or folder `relative`, or with no
// write permission anywhere when `relative` is empty.
void denyToUnprivileged(Installation& install, const QString& relative, int mode) {
    if (!test::runsAsRoot()) {
        install.unavailable = QStringLiteral("running the program as another user needs root");
        return;
    }
    constexpr uint kNobody = 65534;
    // The temporary folder that holds the project, and the project in it.
    const QString holder = install.path(QStringLiteral(".."));
    for (QDir up(holder); up.cdUp();) {
        if (!(QFile::permissions(up.path()) & QFile::ExeOther)) {
            install.unavailable = up.path() + QStringLiteral(" is closed to other users");
            return;
        }
    }
    QVERIFY(QProcess::execute(
                QStringLiteral("chown"),
                {QStringLiteral("-R"), QStringLiteral("%1:%1").arg(kNobody), holder}) == 0);
    if (relative.isEmpty())
        QVERIFY(
            QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("a-w"),
                                                        install.path(QString())}) == 0);
    else
        QCOMPARE(::chmod(QFile::encodeName(install.path(relative)).constData(), mode), 0);
    install.runAs = kNobody;
}

// The program INI file stays as it was.
void expectProgramIniKept(Installation& install) {
    const QByteArray before = install.read(install.path(QStringLiteral("parameter/Program.ini")));
    install.afterRun = [before](const Installation& i) {
        QCOMPARE(i.read(i.path(QStringLiteral("parameter/Program.ini"))), before);
    };
}

// Every file of the installation stays as it was, and no file is added,
// but for `besides` (paths under the installation).
void expectNoFileWritten(Installation& install, const QStringList& besides = {}) {
    const auto files = [](const Installation& i) {
        QMap<QString, QByteArray> content;
        QDirIterator it(i.path(QString()), QDir::Files | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            content.insert(file, i.read(file));
        }
        return content;
    };
    install.afterRun = [before = files(install), files, besides](const Installation& i) {
        QMap<QString, QByteArray> after = files(i);
        QMap<QString, QByteArray> expected = before;
        for (const QString& file : besides) {
            after.remove(i.path(file));
            expected.remove(i.path(file));
        }
        QCOMPARE(after.keys(), expected.keys());
        QVERIFY(after == expected);
    };
}

// The folder of the program INI file on a small file system of its own, full.
void fillParameterDisk(Installation& install) {
    const QDir folder(install.path(QStringLiteral("parameter")));
    QMap<QString, QByteArray> files;
    for (const QString& name : folder.entryList(QDir::Files))
        files.insert(name, install.read(folder.filePath(name)));
    if (const std::optional<QString> unavailable = test::mountSmallDisk(folder.path(), "64k")) {
        install.unavailable = *unavailable;
        return;
    }
    install.mounted = folder.path();
    for (auto file = files.cbegin(); file != files.cend(); ++file)
        install.write(QStringLiteral("parameter/") + file.key(), file.value());
    QFile filler(folder.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) {
    }
}

// A second silent run started at the same moment; the language file starts
// empty, so both runs write every entry of it.
void startSecondRun(Installation& install) {
    QFile::remove(install.path(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini")));
    setSourceWritten(install);
    install.holder.process = std::make_unique<QProcess>();
    startSilent(install, *install.holder.process);
    install.afterRun = [](const Installation& i) {
        QCOMPARE(i.holder.process->exitCode(), 0);
        // A run on a complete language file adds nothing to it.
        const QString languageFile = i.path(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini"));
        const QByteArray after = i.read(languageFile);
        QCOMPARE(runSilent(i).exitCode, 0);
        QCOMPARE(i.read(languageFile), after);
    };
}

} // namespace

Q_DECLARE_METATYPE(Arrange)
Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(Outcome)

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void nothingIsLost_data();
    void nothingIsLost();

private:
    // PRESET_DEFS after a run without any fault, per start.
    QByteArray cleanRun(Start start);
    QMap<Start, QByteArray> m_clean;
};

void TestFaults::initTestCase() {
    KPL_REQUIRE(DemoProject::templateExists(),
                "the installations are copied from the suite's demo project (test demo_template)");
}

QByteArray TestFaults::cleanRun(Start start) {
    if (!m_clean.contains(start)) {
        Installation install;
        runProgram(install, start);
        m_clean.insert(start, rows(install, kProject));
    }
    return m_clean.value(start);
}

void TestFaults::nothingIsLost_data() {
    QTest::addColumn<Start>("start");
    QTest::addColumn<Arrange>("arrange");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<Outcome>("outcome");
    const auto silent = Start::Silent;
    const auto integrated = Start::Integrated;
    const auto standalone = Start::Standalone;
    const auto sql = [](const QString& relative, const QString& script) {
        return [=](Installation& i) { i.sql(i.db(relative), script); };
    };
    const auto content = [](const QString& relative, const QByteArray& bytes) {
        return [=](Installation& i) { i.write(relative, bytes); };
    };
    QByteArray jet(4096, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    const QString kept = QStringLiteral("could not be rebuilt");

    QTest::newRow("no fault") << silent << Arrange([](Installation&) {}) << 0 << QString()
                              << Outcome::LikeCleanRun;
    QTest::newRow("damaged page in the source")
        << silent << Arrange([](Installation& i) { i.corrupt(kSource, 4, '\xa5'); }) << 2 << kept
        << Outcome::Kept;
    QTest::newRow("source read by another process for a while")
        << silent << Arrange([](Installation& i) { i.holdReadLock(kSource, 2); }) << 0 << QString()
        << Outcome::LikeCleanRun;
    QTest::newRow("source read by another process past the wait")
        << silent << Arrange([](Installation& i) { i.holdReadLock(kSource, 9); }) << 2
        << QStringLiteral("database is locked") << Outcome::Kept;
    QTest::newRow("Jet source") << silent << Arrange(content(kSource, jet)) << 2
                                << QStringLiteral("--import-jet") << Outcome::Untouched;
    QTest::newRow("source not a database")
        << silent << Arrange(content(kSource, QByteArray(4096, 'x'))) << 2
        << QStringLiteral("not a database") << Outcome::Untouched;
    QTest::newRow("Jet project database") << silent << Arrange(content(kProject, jet)) << 2
                                          << QStringLiteral("--import-jet") << Outcome::Untouched;
    QTest::newRow("project database not a database")
        << silent << Arrange(content(kProject, QByteArray(8192, 'x'))) << 2
        << QStringLiteral("not a database") << Outcome::Untouched;
    QTest::newRow("Jet machine copy") << integrated << Arrange(content(kMachineCopy, jet)) << 2
                                      << QStringLiteral("--import-jet") << Outcome::Untouched;
    QTest::newRow("hot journal beside the project database")
        << integrated << Arrange([](Installation& i) { i.leaveHotJournal(kProject); }) << 0
        << QString() << Outcome::LikeCleanRun;
    QTest::newRow("no Program.ini, so no machine 1")
        << silent
        << Arrange([](Installation& i) { QFile::remove(i.path("parameter/Program.ini")); }) << 2
        << QStringLiteral("Subscript out of range") << Outcome::Kept;
    QTest::newRow("Program.ini in UTF-16") << silent << Arrange([](Installation& i) {
        const QString text = QString::fromLatin1(i.read(i.path("parameter/Program.ini")));
        QByteArray utf16("\xff\xfe");
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        i.write(QStringLiteral("parameter/Program.ini"), utf16);
    }) << 2 << QStringLiteral("Subscript out of range")
                                           << Outcome::Kept;
    QTest::newRow("part after var_name in the templates")
        << silent
        << Arrange(sql(kSource,
                       "CREATE TABLE t AS SELECT ID, machine_type, type, var_name, part, "
                       "category_id, isBitArray, offset_or_bitno, text, page_name, abs_min, "
                       "abs_max, min, max, pass FROM Source_PRESET_DEFS;"
                       "DROP TABLE Source_PRESET_DEFS;"
                       "ALTER TABLE t RENAME TO Source_PRESET_DEFS;"))
        << 2 << QStringLiteral("Subscript out of range") << Outcome::Kept;
    QTest::newRow("32768 template rows")
        << silent
        << Arrange(sql(kSource, "INSERT INTO Source_PRESET_DEFS SELECT * FROM Source_PRESET_DEFS "
                                "LIMIT 1; INSERT INTO Source_PRESET_DEFS SELECT s.* FROM "
                                "Source_PRESET_DEFS s, (WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL "
                                "SELECT i + 1 FROM k WHERE i < 819) SELECT i FROM k) LIMIT 32727;"))
        << 2 << QStringLiteral("Overflow") << Outcome::Kept;
    QTest::newRow("old table without min")
        << silent << Arrange(sql(kProject, "ALTER TABLE PRESET_DEFS DROP COLUMN min;")) << 2
        << QStringLiteral("Item not found") << Outcome::Kept;
    QTest::newRow("templates without the column text")
        << silent
        << Arrange(sql(kSource, "ALTER TABLE Source_PRESET_DEFS RENAME COLUMN text TO remark;"))
        << 2 << QStringLiteral("has no column text to select") << Outcome::Kept;
    const QString unwritten = QStringLiteral("WriteInputs: [Project] ManualDowntimeReasons, "
                                             "[Project] ManualDowntimeTimerActiv, [Project] "
                                             "ManualDowntimeTimer could not be written");
    QTest::newRow("disk full where Program.ini lies") << silent << Arrange([](Installation& i) {
        expectProgramIniKept(i);
        fillParameterDisk(i);
    }) << 2 << unwritten << Outcome::LikeCleanRun;
    const QString refused = QStringLiteral("%1 cannot be written (Permission denied)");
    QTest::newRow("read-only Program.ini, unprivileged user")
        << silent << Arrange([](Installation& i) {
               expectProgramIniKept(i);
               denyToUnprivileged(i, QStringLiteral("parameter/Program.ini"), 0444);
           })
        << 2 << refused.arg("Program.ini") << Outcome::Untouched;
    QTest::newRow("read-only folder of Program.ini, unprivileged user")
        << silent << Arrange([](Installation& i) {
               expectProgramIniKept(i);
               denyToUnprivileged(i, QStringLiteral("parameter"), 0555);
           })
        << 2 << refused.arg("parameter") << Outcome::Untouched;
    QTest::newRow("read-only KPL_Presets.cfg, unprivileged user")
        << silent << Arrange([](Installation& i) {
               denyToUnprivileged(i, QStringLiteral("KPL_Presets/KPL_Presets.cfg"), 0444);
           })
        << 2 << refused.arg("KPL_Presets.cfg") << Outcome::Untouched;
    QTest::newRow("read-only project database, unprivileged user")
        << silent << Arrange([](Installation& i) { denyToUnprivileged(i, kProject, 0444); }) << 2
        << refused.arg("KPL_Presets.mdb") << Outcome::Untouched;
    // The language file is the project's own; a start that cannot complete
    // it leaves it as it is.
    QTest::newRow("read-only empty language file, unprivileged user")
        << silent << Arrange([](Installation& i) {
               const QString file = QStringLiteral("KPL_Presets/KPL_Presets_Config.ini");
               i.write(file, QByteArray());
               denyToUnprivileged(i, file, 0444);
               i.afterRun = [file](const Installation& after) {
                   QCOMPARE(after.read(after.path(file)), QByteArray());
               };
           })
        << 0 << QString() << Outcome::LikeCleanRun;
    QTest::newRow("installation of another user, logs too")
        << silent << Arrange([](Installation& i) { denyToUnprivileged(i, QString(), 0); }) << 2
        << refused.arg("KPL_Presets_Source.mdb") << Outcome::Untouched;
    QTest::newRow("takeover ended by a demanded column") << silent << Arrange([](Installation& i) {
        const QString cfg = QStringLiteral("KPL_Presets/KPL_Presets.cfg");
        i.write(cfg, i.read(i.path(cfg))
                         .replace("ForMachine1", "DataBaseAdditionalFields=grade\r\nForMachine1"));
    }) << 1 << QStringLiteral("(the run was ended); ") << Outcome::Kept;
    QTest::newRow("final copy over the project database refused")
        << standalone << Arrange([](Installation& i) {
               i.failingCalls.emplace(FailingFileCalls::Call::Rename, std::errc::permission_denied,
                                      QStringLiteral("KPL_Presets.mdb"));
           })
        << 2 << QStringLiteral("but it could not replace") << Outcome::Kept;
    QTest::newRow("folder not synced after the final copy")
        << standalone << Arrange([](Installation& i) {
               i.failingCalls.emplace(FailingFileCalls::Call::SyncFolder, std::errc::io_error,
                                      QStringLiteral("KPL_Presets.mdb"));
           })
        << 2 << QStringLiteral("KPL_Presets.mdb was written, but its folder could not be synced")
        << Outcome::LikeCleanRun;
    QTest::newRow("journal of the source cannot be written")
        << integrated
        << Arrange([](Installation& i) { i.failingJournal.emplace("KPL_Presets_Source.mdb"); }) << 2
        << QStringLiteral("rolled the rebuild back after this failure: disk I/O error")
        << Outcome::Kept;
    QTest::newRow("temporary copy left by a killed run") << silent << Arrange([](Installation& i) {
        const QString stale = i.db(kProject) + QStringLiteral(".kpltmp-x7Q2rd");
        i.write(kProject + QStringLiteral(".kpltmp-x7Q2rd"), QByteArray(12288, 'p'));
        i.afterRun = [stale](const Installation&) { QVERIFY(!QFile::exists(stale)); };
    }) << 0 << QString() << Outcome::LikeCleanRun;
    QTest::newRow("two runs at once")
        << silent << Arrange(startSecondRun) << 0 << QString() << Outcome::CleanRunTwice;
    QTest::newRow("5 MB line and 32767 machines in Program.ini")
        << silent << Arrange([](Installation& i) {
               const QString ini = QStringLiteral("parameter/Program.ini");
               i.write(ini, i.read(i.path(ini))
                                .replace("NumberOfMachines=1", "NumberOfMachines=32767\r\nNotes=" +
                                                                   QByteArray(5 << 20, 'x')));
           })
        << 0 << QString() << Outcome::LikeCleanRun;
    QTest::newRow("integrated start without the host configuration")
        << integrated << Arrange([](Installation& i) {
               QFile::remove(i.path(QStringLiteral("parameter/n4rconfiguration.ini")));
               // Neither presets nor an edit record: nothing was configured.
               const QStringList unchanged{QStringLiteral("parameter/Program.ini"),
                                           QStringLiteral("KPL_Presets/KPL_Presets.cfg")};
               QList<QByteArray> before;
               for (const QString& file : unchanged)
                   before.append(i.read(i.path(file)));
               i.afterRun = [unchanged, before](const Installation& after) {
                   for (qsizetype f = 0; f < unchanged.size(); ++f)
                       QCOMPARE(after.read(after.path(unchanged.at(f))), before.at(f));
                   // The start's box, and after OK one more.
                   QCOMPARE(after.boxesShown, 2);
               };
           })
        << 2 << QStringLiteral("n4rconfiguration.ini wurde nicht gefunden") << Outcome::Kept;
    const Arrange outside = [](Installation& i) {
        QFile::remove(i.path(QStringLiteral("KPL_Presets/KPL_Presets.cfg")));
        QFile::remove(i.path(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini")));
        QDir(i.path(QStringLiteral("parameter"))).removeRecursively();
        expectNoFileWritten(i);
    };
    QTest::newRow("start outside an installation")
        << silent << outside << 1
        << QDir::toNativeSeparators(QStringLiteral("KPL_Presets/KPL_Presets.cfg\nwas not found"))
        << Outcome::Untouched;
    QTest::newRow("window start outside an installation")
        << standalone << outside << 1
        << QDir::toNativeSeparators(QStringLiteral("KPL_Presets/KPL_Presets.cfg"))
        << Outcome::Untouched;
    QTest::newRow("component configuration file missing") << silent << Arrange([](Installation& i) {
        QFile::remove(i.path(QStringLiteral("KPL_Presets/KPL_Presets.cfg")));
        // Nothing written but the host's line in the service log.
        expectNoFileWritten(i, {QStringLiteral("service.log")});
        i.afterRun = [check = i.afterRun](const Installation& after) {
            const QByteArray line = after.read(after.path(QStringLiteral("service.log")));
            const QByteArray head = "! Fault KPL_Presets_Config: File not found: \n\r";
            // Windows composes the path in upper case.
            const QString path = QString::fromLatin1(line.mid(head.size()));
            QVERIFY2(
                line.startsWith(head) && QDir::isAbsolutePath(path) &&
                    path.endsWith(QDir::toNativeSeparators("/KPL_Presets/KPL_Presets.cfg\r\n"),
                                  platform::kWindows ? Qt::CaseInsensitive : Qt::CaseSensitive),
                line.constData());
            check(after);
        };
    }) << 1 << QDir::toNativeSeparators(QStringLiteral("KPL_Presets/KPL_Presets.cfg\nis missing"))
                                                          << Outcome::Untouched;
    QTest::newRow("project that cannot be saved, found before the dialog")
        << standalone << Arrange([](Installation& i) {
               i.failingCalls.emplace(FailingFileCalls::Call::Writable,
                                      std::errc::permission_denied, QStringLiteral("Program.ini"));
               // The error log's line and the lock of the dialog it did not open.
               expectNoFileWritten(i,
                                   {QStringLiteral("N4Rcfglog.txt"),
                                    QStringLiteral("KPL_Presets/KPL_Presets_Config.dialog.lock")});
               i.afterRun = [check = i.afterRun](const Installation& after) {
                   QVERIFY(!after.dialogOpened);
                   check(after);
               };
           })
        << 2 << refused.arg("Program.ini") << Outcome::Untouched;
    QTest::newRow("second dialog of the installation")
        << integrated << Arrange([](Installation& i) {
               QCOMPARE(i.openDialog.tryLock(i.path("KPL_Presets/KPL_Presets_Config.dialog.lock")),
                        platform::FileLock::Attempt::Locked);
               expectNoFileWritten(i);
           })
        << 1 << QStringLiteral("already open") << Outcome::Untouched;
    QTest::newRow("silent start while a dialog of the installation is open")
        << silent << Arrange([](Installation& i) {
               QCOMPARE(i.openDialog.tryLock(i.path("KPL_Presets/KPL_Presets_Config.dialog.lock")),
                        platform::FileLock::Attempt::Locked);
           })
        << 0 << QString() << Outcome::LikeCleanRun;
}

void TestFaults::nothingIsLost() {
    QFETCH(Start, start);
    QFETCH(Arrange, arrange);
    QFETCH(int, exitCode);
    QFETCH(QString, logged);
    QFETCH(Outcome, outcome);
    const QByteArray clean = outcome == Outcome::LikeCleanRun || outcome == Outcome::CleanRunTwice
                                 ? cleanRun(start)
                                 : QByteArray();

    Installation install;
    QVERIFY(install.isValid());
    const QByteArray projectPristine = install.read(install.db(kProject));
    arrange(install);
    if (!install.unavailable.isEmpty())
        QSKIP(qPrintable(install.unavailable));
    // An integrated start takes the values over from the machine copy its host
    // configuration leads to.
    const QString takeoverSource =
        start == Start::Integrated && QFile::exists(install.path("parameter/n4rconfiguration.ini"))
            ? kMachineCopy
            : kProject;
    const QByteArray oldRows =
        outcome == Outcome::Kept ? rows(install, takeoverSource) : QByteArray();
    setSourceWritten(install);
    const QByteArray projectBefore = install.read(install.db(kProject));
    const QByteArray sourceBefore = install.read(install.db(kSource));
    const QByteArray machineCopyBefore = install.read(install.db(kMachineCopy));

    const Run run = runProgram(install, start);
    if (install.holder.process)
        install.holder.process->waitForFinished(30000);
    if (install.afterRun)
        install.afterRun(install);

    QCOMPARE(run.exitCode, exitCode);
    // Where no error log could be written, the run says it on standard error.
    const QString reported = run.errorLog + run.shown;
    QVERIFY2(reported.contains(logged), qPrintable(reported));
    if (exitCode != 0)
        QVERIFY(!reported.isEmpty());
    // One failure, one question: a repeat is neither asked nor logged again.
    QVERIFY2(run.boxes <= 4, qPrintable(QString::number(run.boxes)));
    QCOMPARE(leftovers(install), QStringList());
    static const QRegularExpression namedLine(
        QStringLiteral("^Fehler in KPL_Presets / [^/]* / \\w+ \\(Nr\\. -?\\d+\\) :"));
    QSet<QString> failures;
    for (const QString& line : run.errorLog.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1String("Fehler in"))) {
            QVERIFY2(namedLine.match(line).hasMatch(), qPrintable(line));
            QVERIFY2(!failures.contains(line), qPrintable(line));
            failures.insert(line);
        }
        QVERIFY2(!line.contains(QLatin1String("optional access")) &&
                     !line.contains(QLatin1String("std::")),
                 qPrintable(line));
    }
    QCOMPARE(lastWrite(install.db(kSource)), kSourceWritten);

    const QString backup = install.db(kProject) + QStringLiteral(".bak");
    switch (outcome) {
    case Outcome::Untouched:
        QVERIFY(install.read(install.db(kProject)) == projectBefore);
        QVERIFY(install.read(install.db(kSource)) == sourceBefore);
        QVERIFY(install.read(install.db(kMachineCopy)) == machineCopyBefore);
        QVERIFY(!QFile::exists(backup));
        break;
    case Outcome::Kept:
        QCOMPARE(rows(install, kProject), oldRows);
        // A backup the run made is the project database as it was before.
        QVERIFY(!QFile::exists(backup) || install.read(backup) == projectBefore);
        break;
    case Outcome::LikeCleanRun:
        QCOMPARE(rows(install, kProject), clean);
        QCOMPARE(install.query(install.db(kProject), "PRAGMA integrity_check;"),
                 QByteArray("ok\n"));
        QVERIFY(install.read(backup) == projectPristine);
        break;
    case Outcome::CleanRunTwice:
        QCOMPARE(rows(install, kProject), clean);
        QCOMPARE(install.query(backup, kPresetRows), clean);
        break;
    }
}

KPL_TEST_MAIN(TestFaults)
#include "tst_faults.moc"
