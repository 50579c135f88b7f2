// Times the whole update run against the least SQLite work for the same rows:
// create a table, insert n rows and update n rows in one transaction.
// Prints n, both times, their ratio and the process's peak memory after the
// run. The run lets events run as the silent program does. For reference it
// also times the run's reads, look-ups and writes done straight on the
// engine's values (floor), and the same run on a site whose databases are
// Jet 4 files (the installation sample's files holding the same tables),
// which imports them and writes PRESET_DEFS back into the Jet source
// database; beside it the Jet write alone: the run's result written into a
// copy of the Jet source sample. Each time is the best of five, on a project of
// its own, as other work on the machine only ever adds to a time; the three
// columns' tries take turns. The Jet sample is found in KPL_SHARED_TESTDATA
// (default: the shared test data beside the source tree).
#include "FloorUpdateRun.h"
#include "PeakMemory.h"
#include "app/CoreRuntime.h"
#include "core/ProcessState.h"
#include "database/Database.h"
#include "jetimport/JetExport.h"
#include "jetimport/JetToSqlite.h"
#include "presetdb/JetWorkCopies.h"
#include "presetdb/WorkOnMDB.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace kpl;

namespace {

const char* kColumns = "ID LONG, machine_type TEXT(50), type TEXT(20), part SHORT, "
                       "var_name TEXT(100), category_id LONG, isBitArray BIT, "
                       "offset_or_bitno LONG, text TEXT(255), page_name TEXT(50), abs_min DOUBLE, "
                       "abs_max DOUBLE, min DOUBLE, max DOUBLE, pass LONG";

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

// The templates with n rows; with `tuned` also an earlier run's PRESET_DEFS
// whose n records all match a template row and carry other values.
void makeDatabase(const QString& path, int n, bool tuned) {
    Database db = Database::create(path);
    db.execute("CREATE TABLE Source_DEFS (System TEXT(20), Part SHORT, Var_Name TEXT(255))");
    db.execute("INSERT INTO Source_DEFS VALUES ('VisiWin32', 1, '###machine.P.###Var_Name')");
    db.execute(QStringLiteral("CREATE TABLE Source_PRESET_DEFS (%1)").arg(kColumns));
    // n rows numbered 1..n, made by the engine in one statement each.
    const QString rows = QStringLiteral(
        "INSERT INTO %1 WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k "
        "WHERE i < %2) SELECT i, 'KPL', 'INT', 1, %3 || i, 10, 0, i, 'Preset of ###machine', "
        "'Page_###machine', 0, 100, %4, %5, 1 FROM k");
    db.execute(rows.arg("Source_PRESET_DEFS").arg(n).arg("'V'").arg(10).arg(90));
    if (tuned) {
        db.execute(QStringLiteral("CREATE TABLE PRESET_DEFS (%1)").arg(kColumns));
        db.execute(rows.arg("PRESET_DEFS").arg(n).arg("'M1.P.V'").arg(20).arg(80));
    }
    db.close();
}

// Copies the Jet installation sample `sample` to `path`, writable.
void copyJetSample(const QString& sample, const QString& path) {
    const QString shared = qEnvironmentVariable("KPL_SHARED_TESTDATA", KPL_SHARED_TESTDATA);
    QFile::copy(shared + "/jet/installation/" + sample, path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

// Replaces the SQLite database `path` by a copy of the Jet installation
// sample `sample` whose tables of the same names hold its rows.
void convertToJet(const QString& path, const QString& sample) {
    const QString sqlite = path + ".sqlite";
    QFile::rename(path, sqlite);
    copyJetSample(sample, path);
    Database database = Database::open(sqlite);
    for (const QString& table : database.tableNames())
        exportTableToJet(database, table, path);
    database.close();
    QFile::remove(sqlite);
}

// A project of n template rows and n tuned records, in a folder of its own;
// with `jet` its databases are Jet 4 files.
struct BenchProject {
    explicit BenchProject(int n, bool onJet = false) : jet(onJet) {
        writeFile(root + "/parameter/Program.ini",
                  "[Project]\r\nNumberOfMachines=1\r\n[Machine1]\r\nMachineName=M1\r\n");
        writeFile(root + "/KPL_Presets/KPL_Presets.cfg", "[Project]\r\nForMachine1=true\r\n");
        makeDatabase(sourcePath, n, false);
        makeDatabase(projectPath, n, true);
        if (jet) {
            convertToJet(sourcePath, "KPL_Presets_Source.mdb");
            convertToJet(projectPath, "KPL_Presets.mdb");
        }
    }

    // How many records carry the tuned values after a run.
    qint64 carriedOver() const {
        if (jet)
            importJetDatabase(projectPath, imported);
        Database check = Database::open(jet ? imported : projectPath);
        return check.openRecordset("SELECT ID FROM PRESET_DEFS WHERE min = 20").recordCount();
    }

    QTemporaryDir dir;
    const QString root = dir.path();
    const QString sourcePath = root + "/KPL_Presets/KPL_Presets_Source.mdb";
    const QString projectPath = root + "/KPL_Presets/KPL_Presets.mdb";
    const QString imported = root + "/imported.db";
    const bool jet;
};

void checkCarriedOver(const char* what, const BenchProject& project, int n) {
    const qint64 carried = project.carriedOver();
    if (carried != n)
        std::fprintf(stderr, "%s, n=%d: only %lld values carried over\n", what, n, carried);
}

// The time of the Jet write alone: the PRESET_DEFS a Jet run gave (imported
// by the check before) written into a fresh copy of the Jet source sample.
double jetWriteSeconds(const BenchProject& project) {
    const QString target = project.root + "/written.mdb";
    copyJetSample("KPL_Presets_Source.mdb", target);
    QElapsedTimer timer;
    timer.start();
    writePresetDefsToJet(project.imported, target, platform::systemFileCalls());
    return timer.nsecsElapsed() / 1e9;
}

// The run's time; with `jetWrite` (a run on Jet) also its Jet write's.
double updateRunSeconds(int n, bool jet = false, double* jetWrite = nullptr) {
    BenchProject project(n, jet);
    CoreRuntime rt(project.root + "/KPL_Presets/KPL_Presets_Config", "/EXTERNAL SILENT",
                   {"USERNAME=bench", "KPL_SERVICE_LOG=" + project.root + "/service.log"});
    ProcessState state(rt);
    state.silentMode = true;
    state.programIniPath = project.root + "/parameter/Program.ini";
    state.machineNames = QStringList{QString(), QStringLiteral("M1")};
    QElapsedTimer timer;
    timer.start();
    WorkOnMDB(state);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const char* what = jet ? "update run on Jet" : "update run";
    // A run that reported a failure kept the project database: its time is
    // no run's, though the old tuned values are still there to count.
    if (state.failuresReported != 0)
        std::fprintf(stderr, "%s, n=%d: %d failures reported\n", what, n, state.failuresReported);
    checkCarriedOver(what, project, n);
    if (jetWrite)
        *jetWrite = jetWriteSeconds(project);
    return seconds;
}

double floorSeconds(int n) {
    BenchProject project(n);
    const double seconds = floorUpdateRunSeconds(project.sourcePath, project.projectPath);
    checkCarriedOver("floor", project, n);
    return seconds;
}

constexpr int kTries = 5;

// The best times of the three columns. The tries take turns, so that a
// stretch of other work on the machine slows all three alike.
struct BestTimes {
    double run = 0;
    double minimal = 0;
    double floor = 0;
    double jet = 0;
    double jetWrite = 0;
    long peakMemoryMiB = 0;
};

void exec(sqlite3* db, const char* sql) {
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

double minimalSeconds(int n) {
    QTemporaryDir dir;
    const QByteArray path = (dir.path() + "/minimal.db").toUtf8();
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open(path.constData(), &db);
    exec(db, "BEGIN");
    exec(db, QStringLiteral("CREATE TABLE PRESET_DEFS (%1)").arg(kColumns).toUtf8().constData());
    // Every column of every row is bound, as the run writes whole records.
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO PRESET_DEFS VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, "
                       "?10, ?11, ?12, ?13, ?14, ?15)",
                       -1, &insert, nullptr);
    for (int i = 1; i <= n; ++i) {
        const QByteArray name = QStringLiteral("M1.P.V%1").arg(i).toUtf8();
        const QByteArray text = QStringLiteral("Preset of M1").toUtf8();
        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_text(insert, 2, "KPL", 3, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, "INT", 3, SQLITE_STATIC);
        sqlite3_bind_int(insert, 4, 1);
        sqlite3_bind_text(insert, 5, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 6, 10);
        sqlite3_bind_int(insert, 7, 0);
        sqlite3_bind_int(insert, 8, i);
        sqlite3_bind_text(insert, 9, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 10, "Page_M1", 7, SQLITE_STATIC);
        sqlite3_bind_double(insert, 11, 0);
        sqlite3_bind_double(insert, 12, 100);
        sqlite3_bind_double(insert, 13, 10);
        sqlite3_bind_double(insert, 14, 90);
        sqlite3_bind_int(insert, 15, 1);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db,
                       "UPDATE PRESET_DEFS SET abs_min = ?1, abs_max = ?2, min = ?3, max = ?4, "
                       "pass = ?5 WHERE rowid = ?6",
                       -1, &update, nullptr);
    for (int i = 1; i <= n; ++i) {
        sqlite3_bind_double(update, 1, 0);
        sqlite3_bind_double(update, 2, 100);
        sqlite3_bind_double(update, 3, 20);
        sqlite3_bind_double(update, 4, 80);
        sqlite3_bind_int(update, 5, 1);
        sqlite3_bind_int(update, 6, i);
        sqlite3_step(update);
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    exec(db, "COMMIT");
    sqlite3_close(db);
    return timer.nsecsElapsed() / 1e9;
}

// The peak memory is taken after the first run of this size, before the
// other columns add to it.
BestTimes bestTimes(int n) {
    BestTimes best{updateRunSeconds(n), 0, 0, 0, 0, peakMemoryMiB()};
    best.minimal = minimalSeconds(n);
    best.floor = floorSeconds(n);
    best.jet = updateRunSeconds(n, true, &best.jetWrite);
    for (int i = 1; i < kTries; ++i) {
        best.run = std::min(best.run, updateRunSeconds(n));
        best.minimal = std::min(best.minimal, minimalSeconds(n));
        best.floor = std::min(best.floor, floorSeconds(n));
        double jetWrite = 0;
        best.jet = std::min(best.jet, updateRunSeconds(n, true, &jetWrite));
        best.jetWrite = std::min(best.jetWrite, jetWrite);
    }
    return best;
}

} // namespace

// Without arguments: n = 1,000, 8,192 and 32,767; otherwise the n given.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // At most 32,766 rows: the run's record counter passes 32,767 on the next.
    std::vector<int> sizes{1000, 8192, 32000};
    if (argc > 1)
        sizes.assign(1, std::atoi(argv[1]));
    std::printf("%8s %12s %12s %7s %14s %12s %9s %12s %8s %12s %10s\n", "n", "update run",
                "minimal", "ratio", "peak memory", "floor", "floor/min", "on Jet", "Jet/run",
                "Jet write", "write/run");
    for (const int n : sizes) {
        const BestTimes best = bestTimes(n);
        std::printf("%8d %10.3f s %10.3f s %6.2fx %11ld MiB %10.3f s %8.2fx %10.3f s %7.2fx "
                    "%10.3f s %9.2fx\n",
                    n, best.run, best.minimal, best.run / best.minimal, best.peakMemoryMiB,
                    best.floor, best.floor / best.minimal, best.jet, best.jet / best.run,
                    best.jetWrite, best.jetWrite / best.run);
    }
    return 0;
}
