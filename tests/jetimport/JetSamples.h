#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTest>

#include "Prerequisites.h"
#include "core/Failure.h"
#include "core/platform/TargetSystem.h"

namespace kpl::test {

// The sample Jet files live outside the project, in the folder "jet" under
// KPL_SHARED_TESTDATA (CTest sets it). "" when the variable is not set or
// the folder is missing.
QString jetSampleFolder();
QString jetSample(const QString& fileName);
QByteArray jetSampleBytes(const QString& fileName);

// Copies the sample `fileName` to `target` (creating folders as needed) and
// makes the copy writable.
void copyJetSample(const QString& fileName, const QString& target);

// Debian's mdb-export, the independent Jet reader the tests compare written
// files with: whether this process can run it (a Windows program cannot),
// and the lines it exports of `table` with `options` before the file.
bool mdbExportRuns();
QStringList mdbExport(const QStringList& options, const QString& path, const QString& table);

// A file's bytes ("" when it cannot be read); a file written with `bytes`.
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

// The failure description `action` throws; a null QString when it throws none.
template <class Action> QString failureText(Action&& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.description;
    }
    return QString();
}

inline const char* const kJet3Sample = "test2V1997.mdb";
inline const char* const kJet4Sample = "test2V2000.mdb";
inline const char* const kUnicodeSample = "testUnicodeCompV2003.mdb";

} // namespace kpl::test

// Skips the test function when the sample files are not there.
#define KPL_REQUIRE_JET_SAMPLES()                                                                  \
    KPL_REQUIRE(!kpl::test::jetSampleFolder().isEmpty(),                                           \
                "The sample Jet files are missing: set KPL_SHARED_TESTDATA to the shared "         \
                "testdata folder (CTest does) that holds jet/test2V1997.mdb.")

// Skips (on Windows, a row of that system like any other, the executable
// not counted as skipped) or, where the suite requires its tools, fails the
// test function when the independent Jet reader cannot run; placed after
// the function's own checks, which then have run.
#define KPL_REQUIRE_MDB_EXPORT()                                                                   \
    do {                                                                                           \
        if (kpl::platform::kWindows)                                                               \
            QSKIP("mdb-export is a Linux program, which a Windows program cannot start");          \
        KPL_REQUIRE(                                                                               \
            kpl::test::mdbExportRuns(),                                                            \
            "mdb-export (Debian's mdbtools) is missing: scripts/packages.sh installs it.");        \
    } while (false)
