#include "TestInstallation.h"
#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "core/platform/ServiceLog.h"
#include "core/platform/StandardErrorRedirect.h"
#include "core/platform/TargetSystem.h"
#include "errors/ErrorHandler.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"

#include <QTest>

#include <functional>
#include <optional>
#include <stdexcept>

using namespace kpl;

using Throw = std::function<void()>;
Q_DECLARE_METATYPE(Throw)

namespace {
// A log's name as the notices show it where file names ignore letter case;
// elsewhere the notices name it as found on disk, which the rows spell out.
QString shown(const QString& path) {
    return platform::kWindows ? path.toUpper() : path;
}
// The system's reason for a log in a folder that does not exist.
const char* const kMissingFolder =
    platform::kWindows ? "Path not found." : "No such file or directory";
} // namespace

class TestErrorHandler : public QObject {
    Q_OBJECT
private slots:
    void questionBoxAndLogLine();
    void repeatedFailureIsAskedOnce();
    void silentModeLogsAndContinues();
    void fatalFailureEndsAfterOk();
    void integratedModeLogsToTheGivenFile();
    void unwritableLogLineGoesToStandardError();
    void continueSkipsOnlyTheFailedStep();
    void stepsReportExceptionsUnderTheirNumbers_data();
    void stepsReportExceptionsUnderTheirNumbers();
    void failedConditionRunsTheGuardedSteps();
    void answerNoUnwindsPastEveryStep();
    void logWritersAppendInOrder();
    void serviceLogFallback_data();
    void serviceLogFallback();
};

void TestErrorHandler::questionBoxAndLogLine() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    rt->answer(MsgAnswer::Yes);
    QCOMPARE(ErrorSub(state, 6, "Src", "Overflow", "LoadIniInteger", false), ErrorAnswer::Continue);
    QCOMPARE(rt->boxes.size(), 1);
    const MessageBoxRequest& box = rt->boxes[0];
    const QString logPath = shown(install.path("N4Rcfglog.txt"));
    QCOMPARE(box.text,
             "Unexpected error!\n\rOverflow\n\rError logged to \n\r" + logPath + "\n\rResume?");
    QCOMPARE(box.title, QStringLiteral("Unexpected error"));
    QCOMPARE(box.icon, MsgIcon::Critical);
    QCOMPARE(box.buttons, MsgButtons::YesNo);
    QCOMPARE(box.defaultButton, MsgAnswer::Yes);
    QCOMPARE(install.read("N4Rcfglog.txt"),
             QByteArray("Fehler in KPL_Presets / Src / LoadIniInteger (Nr. 6) :Overflow\r\n"));
    ProcessState nextRun(*rt);
    rt->answer(MsgAnswer::No);
    QCOMPARE(ErrorSub(nextRun, 6, "Src", "Overflow", "LoadIniInteger", false), ErrorAnswer::End);
}

// Only a new operation, number or description is asked about; the repeats
// are one line with their count when the process ends.
void TestErrorHandler::repeatedFailureIsAskedOnce() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    struct Raised {
        qint32 number;
        const char* description;
        const char* procName;
    };
    const Raised failures[] = {{6, "Overflow", "Cells"}, {6, "Overflow", "Cells"},
                               {6, "Boom", "Cells"},     {6, "Overflow", "Rows"},
                               {5, "Overflow", "Cells"}, {6, "Overflow", "Cells"}};
    for (const Raised& failure : failures) {
        rt->answer(MsgAnswer::Yes);
        QCOMPARE(ErrorSub(state, failure.number, "Src", failure.description, failure.procName,
                          false),
                 ErrorAnswer::Continue);
    }
    QCOMPARE(rt->boxes.size(), 4);
    QCOMPARE(state.failuresReported, 6);
    QVERIFY_THROWS_EXCEPTION(ProcessEnd, FinishProcess(state));
    QCOMPARE(install.read("N4Rcfglog.txt"),
             QByteArray("Fehler in KPL_Presets / Src / Cells (Nr. 6) :Overflow\r\n"
                        "Fehler in KPL_Presets / Src / Cells (Nr. 6) :Boom\r\n"
                        "Fehler in KPL_Presets / Src / Rows (Nr. 6) :Overflow\r\n"
                        "Fehler in KPL_Presets / Src / Cells (Nr. 5) :Overflow\r\n"
                        "Repeated 2 more times, not asked again: "
                        "Fehler in KPL_Presets / Src / Cells (Nr. 6) :Overflow\r\n"));
}

void TestErrorHandler::silentModeLogsAndContinues() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    state.silentMode = true;
    QCOMPARE(ErrorSub(state, 9999, "X", "Boom", "Takeover", true), ErrorAnswer::Continue);
    QCOMPARE(rt->boxes.size(), 0);
    const QByteArray logPath = shown(install.path("N4Rcfglog.txt")).toUtf8();
    QCOMPARE(install.read("service.log"),
             "! Fault KPL_Presets_Config: Unexpected error!\n\rBoom\n\rError logged to \n\r" +
                 logPath + "\r\n");
}

void TestErrorHandler::fatalFailureEndsAfterOk() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    QCOMPARE(ErrorSub(state, 9999, "X", "Boom", "Takeover", true), ErrorAnswer::End);
    QCOMPARE(rt->boxes.size(), 1);
    QCOMPARE(rt->boxes[0].title, QStringLiteral("Fatal error"));
    QCOMPARE(rt->boxes[0].buttons, MsgButtons::Ok);
    QVERIFY(!rt->boxes[0].text.contains("Resume?"));
}

void TestErrorHandler::integratedModeLogsToTheGivenFile() {
    test::TestInstallation install;
    // The folder is spelled otherwise on disk: the notice names the file
    // where it is found.
    auto rt = install.runtime("/EXTERNAL N4RCFG /LOGFILE " + install.path("logs/Cfg.log"));
    install.write("Logs/keep", "");
    ProcessState state(*rt);
    state.integratedMode = true;
    QCOMPARE(WriteErrorLog(state, "first"), "Error logged to \n\r" + shown(install.path("Logs/Cfg.log")));
    WriteErrorLog(state, "second");
    QCOMPARE(install.read("Logs/Cfg.log"), QByteArray("first\r\nsecond\r\n"));
}

// Not lost silently: the line, the log and the reason on standard error, and
// the run ends with exit code 2.
void TestErrorHandler::unwritableLogLineGoesToStandardError() {
    test::TestInstallation install;
    const QString log = install.path("missing/cfg.log");
    auto rt = install.runtime("/EXTERNAL N4RCFG /LOGFILE " + log);
    ProcessState state(*rt);
    state.integratedMode = true;
    {
        const platform::StandardErrorRedirect redirect(install.path("stderr.txt"));
        QCOMPARE(WriteErrorLog(state, "cancelled"),
                 "Error could not be logged to \n\r" + shown(log) + " (" + kMissingFolder + ")");
    }
    QCOMPARE(install.read("stderr.txt"), "KPL_Presets_Config: not logged to \"" + shown(log).toUtf8() +
                                             "\" (" + kMissingFolder + "): cancelled\n");
    QVERIFY_THROWS_EXCEPTION(ProcessEnd, FinishProcess(state));
    QCOMPARE(state.failuresReported, 1);
}

void TestErrorHandler::continueSkipsOnlyTheFailedStep() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    rt->answer(MsgAnswer::Yes);
    Procedure proc(state, "Steps");
    int value = 7;
    QStringList ran;
    proc.step([&] { ran << "one"; });
    proc.assign(value, [&]() -> int { kpl::raise(vb::TypeMismatch); });
    proc.step([&] { ran << "three"; });
    QCOMPARE(value, 7);
    QCOMPARE(ran, (QStringList{"one", "three"}));
    QCOMPARE(state.failuresReported, 1);
    QVERIFY(install.read("N4Rcfglog.txt").contains("/ Steps (Nr. 13) :Type mismatch"));
}

void TestErrorHandler::stepsReportExceptionsUnderTheirNumbers_data() {
    QTest::addColumn<Throw>("thrower");
    QTest::addColumn<int>("number");
    QTest::newRow("out of memory") << Throw([] { throw std::bad_alloc(); }) << 7;
    QTest::newRow("an object that failed to open, used")
        << Throw([] { (void)std::optional<int>().value(); }) << 91;
    QTest::newRow("anything else") << Throw([] { throw std::logic_error("x"); }) << 5;
}

void TestErrorHandler::stepsReportExceptionsUnderTheirNumbers() {
    QFETCH(Throw, thrower);
    QFETCH(int, number);
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    state.silentMode = true;
    QVERIFY(!Procedure(state, "Steps").step(thrower));
    QVERIFY(
        install.read("N4Rcfglog.txt").contains(QString("/ Steps (Nr. %1) :").arg(number).toUtf8()));
}

void TestErrorHandler::failedConditionRunsTheGuardedSteps() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    state.silentMode = true;
    Procedure proc(state, "Guard");
    QVERIFY(proc.test([]() -> bool { kpl::raise(vb::InvalidUseOfNull); }));
    QVERIFY(!proc.test([] { return false; }));
}

void TestErrorHandler::answerNoUnwindsPastEveryStep() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    rt->answer(MsgAnswer::No);
    bool after = false;
    try {
        Procedure outer(state, "Outer");
        outer.step([&] {
            Procedure inner(state, "Inner");
            inner.step([] { kpl::raise(vb::Overflow); });
            after = true;
        });
        after = true;
        QFAIL("the process did not end");
    } catch (const ProcessEnd& end) {
        QCOMPARE(end.code, ExitCode::Ended);
    }
    QVERIFY(!after);
}

void TestErrorHandler::logWritersAppendInOrder() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    LogFault(state, "a\n\rb");
    ReportFault(state, "shown");
    QCOMPARE(rt->boxes.size(), 1);
    QCOMPARE(rt->boxes[0].title, QStringLiteral("KPL_Presets_Config"));
    state.silentMode = true;
    ReportFault(state, "logged");
    WriteErrorLog(state, "kept");
    QCOMPARE(install.read("service.log"), QByteArray("! Fault KPL_Presets_Config: a\n\rb\r\n"
                                                     "! Fault KPL_Presets_Config: logged\r\n"));
    // No handler of the dialog runs inside a log write, which a destructor
    // may make while the stack unwinds.
    QCOMPARE(rt->eventRuns, 0);
}

void TestErrorHandler::serviceLogFallback_data() {
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("programData");
    QTest::addColumn<QString>("onWindows");
    QTest::newRow("ProgramData") << "" << "D:\\Data" << "D:\\Data\\TarvoServicePack.log";
    QTest::newRow("ProgramData unset") << "" << "" << "C:\\ProgramData\\TarvoServicePack.log";
    QTest::newRow("KPL_SERVICE_LOG names the file") << "C:\\x.log" << "D:\\Data" << "";
}

// Where a standard user may not write C:\TarvoServicePack.log; nowhere on
// other systems, whose service log has its place.
void TestErrorHandler::serviceLogFallback() {
    QFETCH(QString, named);
    QFETCH(QString, programData);
    QFETCH(QString, onWindows);
    QCOMPARE(platform::serviceLogFallback(named, programData),
             platform::kWindows ? onWindows : QString());
}

QTEST_GUILESS_MAIN(TestErrorHandler)
#include "tst_errorhandler.moc"
