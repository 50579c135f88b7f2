#pragma once

#include <QCoreApplication>
#include <QTest>

namespace kpl::test {

// The exit code that tells CTest a test executable was skipped
// (SKIP_RETURN_CODE of every test).
inline constexpr int kSkipExitCode = 77;

// True when the environment variable KPL_REQUIRE_TEST_PREREQUISITES is set
// (scripts/test sets it): then a tool or file the suite needs is no reason
// to skip but a failure.
bool prerequisitesRequired();

// Notes that a test function was skipped for want of something the machine
// lacks; the executable then ends with kSkipExitCode unless a test failed.
void noteSkipped();

// The exit code of a test executable whose functions gave `qExecResult`.
int exitCode(int qExecResult);

bool hasTool(const char* name);

} // namespace kpl::test

// Skips the test function, visibly to CTest, when `available` is false.
// For what this machine may lack without fault (root rights, a mountable
// tmpfs).
#define KPL_SKIP_UNLESS(available, why)                                                            \
    do {                                                                                           \
        if (!(available)) {                                                                        \
            kpl::test::noteSkipped();                                                              \
            QSKIP(why);                                                                            \
        }                                                                                          \
    } while (false)

// The same for what the suite needs from the machine (the sqlite3 tool, the
// sample files): skipped only where prerequisites are not required.
#define KPL_REQUIRE(available, why)                                                                \
    do {                                                                                           \
        if (!(available)) {                                                                        \
            if (kpl::test::prerequisitesRequired())                                                \
                QFAIL(why);                                                                        \
            kpl::test::noteSkipped();                                                              \
            QSKIP(why);                                                                            \
        }                                                                                          \
    } while (false)

// The main function of a test executable, as QTEST_GUILESS_MAIN makes it,
// ending with kSkipExitCode when a test function was skipped as above.
#define KPL_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char* argv[]) {                                                             \
        QCoreApplication app(argc, argv);                                                          \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return kpl::test::exitCode(QTest::qExec(&tc, argc, argv));                                 \
    }
