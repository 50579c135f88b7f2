#pragma once

#include <QByteArray>
#include <QString>
#include <QTest>

#include "Prerequisites.h"

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

inline const char* const kJet3Sample = "test2V1997.mdb";
inline const char* const kJet4Sample = "test2V2000.mdb";
inline const char* const kUnicodeSample = "testUnicodeCompV2003.mdb";

} // namespace kpl::test

// Skips the test function when the sample files are not there.
#define KPL_REQUIRE_JET_SAMPLES()                                                                  \
    KPL_REQUIRE(!kpl::test::jetSampleFolder().isEmpty(),                                           \
                "The sample Jet files are missing: set KPL_SHARED_TESTDATA to the shared "         \
                "testdata folder (CTest does) that holds jet/test2V1997.mdb.")
