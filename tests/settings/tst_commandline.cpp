#include "TestInstallation.h"
#include "core/CommandKeywords.h"
#include "core/ProcessState.h"
#include "core/platform/TargetSystem.h"
#include "settings/CommandLine.h"

#include <QDir>
#include <QTest>

using namespace kpl;

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void readsKeywordValues_data();
    void readsKeywordValues();
    void decidesStartMode_data();
    void decidesStartMode();
    void logfileKeepsTypedCase();
};

namespace {
// A path as typed on this system's command line: on Windows a value ends at
// the first "/", so a path there is written with "\\".
QString typed(const char* path) {
    return QDir::toNativeSeparators(QString::fromLatin1(path));
}
} // namespace

void TestCommandLine::readsKeywordValues_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");
    QTest::newRow("absent") << ""
                            << "EXTERNAL" << false << "";
    QTest::newRow("lower case") << "external n4rcfg"
                                << "EXTERNAL" << true << "N4RCFG";
    QTest::newRow("any separator") << "EXTERNAL=SILENT"
                                   << "EXTERNAL" << true << "SILENT";
    QTest::newRow("blanks, next keyword") << "EXTERNAL    SILENT /LOGFILE x"
                                          << "EXTERNAL" << true << "SILENT";
    QTest::newRow("no separator eats a letter") << "EXTERNALSILENT"
                                                << "EXTERNAL" << true << "ILENT";
    QTest::newRow("one char after keyword") << "EXTERNAL "
                                            << "EXTERNAL" << true << "";
    QTest::newRow("keyword at the very end") << "EXTERNAL"
                                             << "EXTERNAL" << true << "";
    QTest::newRow("absolute path survives") << "LOGFILE " + typed("/var/log/cfg.log")
                                            << "LOGFILE" << true << typed("/VAR/LOG/CFG.LOG");
    QTest::newRow("path ends at next keyword") << "LOGFILE " + typed("/tmp/a.log") + " /EXTERNAL N4RCFG"
                                               << "LOGFILE" << true << typed("/TMP/A.LOG");
    QTest::newRow("no value before a keyword") << "/LOGFILE /EXTERNAL N4RCFG"
                                               << "LOGFILE" << true << "";
    QTest::newRow("empty value before a keyword") << "/LOGFILE  /EXTERNAL N4RCFG"
                                                  << "LOGFILE" << true << "";
    QTest::newRow("found inside a path") << "LOGFILE /data/external/x.log /EXTERNAL N4RCFG"
                                         << "EXTERNAL" << true << "X.LOG";
    QTest::newRow("found inside a word") << "/XEXTERNAL=N4RCFG"
                                         << "EXTERNAL" << true << "N4RCFG";
}

void TestCommandLine::readsKeywordValues() {
    QFETCH(QString, line);
    QFETCH(QString, keyword);
    QFETCH(bool, found);
    QFETCH(QString, value);
    const std::optional<QString> result = ReadCommand(line, keyword);
    QCOMPARE(result.has_value(), found);
    if (found)
        QCOMPARE(*result, value);
}

void TestCommandLine::decidesStartMode_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("integrated");
    QTest::addColumn<bool>("silent");
    QTest::newRow("empty") << "" << false << false << false;
    QTest::newRow("integrated") << "/EXTERNAL n4rcfg /LOGFILE /tmp/l.txt" << true << true << false;
    QTest::newRow("silent") << "/EXTERNAL SILENT" << false << false << true;
    QTest::newRow("silent with =") << "EXTERNAL=silent" << false << false << true;
    QTest::newRow("other value") << "/EXTERNAL FOO" << false << false << false;
    QTest::newRow("hidden by a path")
        << "/LOGFILE /x/External/l.txt /EXTERNAL N4RCFG" << false << false << false;
}

void TestCommandLine::decidesStartMode() {
    QFETCH(QString, line);
    QFETCH(bool, result);
    QFETCH(bool, integrated);
    QFETCH(bool, silent);
    test::TestInstallation install;
    auto rt = install.runtime(line);
    ProcessState state(*rt);
    state.integratedMode = state.silentMode = true; // every call sets both
    QCOMPARE(GetStartModeIntegrated(state), result);
    QCOMPARE(state.integratedMode, integrated);
    QCOMPARE(state.silentMode, silent);
    QCOMPARE(GetStartModeIntegrated(state), result);
}

void TestCommandLine::logfileKeepsTypedCase() {
    test::TestInstallation install;
    // Where file names ignore letter case the value is read as any other.
    const QString log = typed("/tmp/Logs/Cfg.log");
    QCOMPARE(logFileValue("/EXTERNAL N4RCFG /LOGFILE " + log),
             platform::kWindows ? log.toUpper() : log);
    QCOMPARE(logFileValue(QStringLiteral("/EXTERNAL N4RCFG")), QString());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
