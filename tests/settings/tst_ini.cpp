#include "TestInstallation.h"
#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "settings/Ini.h"

#include <QDate>
#include <QTest>

using namespace kpl;

// The INI operations as the program calls them: sentinels, Booleans, the
// 16-bit narrowing through the error handler, and what SaveIni writes.
class TestIni : public QObject {
    Q_OBJECT
private slots:
    void readsWithSentinels();
    void booleans_data();
    void booleans();
    void overflowGoesToTheErrorHandler_data();
    void overflowGoesToTheErrorHandler();
    void savesByType_data();
    void savesByType();
    void wrongTypeLeavesTheEntry_data();
    void wrongTypeLeavesTheEntry();
    void reportsMissingEntryOnRequest();
};

namespace {
const QString kFile = QStringLiteral("parameter/Program.ini");
}

void TestIni::readsWithSentinels() {
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    const QString file = install.path(kFile);
    QCOMPARE(LoadIniString(state, "Project", "X", file, false), QString());
    QCOMPARE(LoadIniInteger(state, "Project", "X", file, false), qint16(-1));
    QCOMPARE(LoadIniBoolean(state, "Project", "X", file, false), false);
    QVERIFY(!install.exists(kFile));
    install.write(kFile, "[Project]\r\nEmpty=\r\nLong=" + QByteArray(300, 'x') +
                             "\r\nN=-1\r\nMax=32767\r\nMin=-32768\r\n");
    QCOMPARE(LoadIniString(state, "project", "empty", file, false), QString());
    QCOMPARE(LoadIniString(state, "Project", "Long", file, false).size(), 254);
    QCOMPARE(LoadIniInteger(state, "Project", "N", file, false), qint16(-1));
    QCOMPARE(LoadIniInteger(state, "Project", "Max", file, false), qint16(32767));
    QCOMPARE(LoadIniInteger(state, "Project", "Min", file, false), qint16(-32768));
    QCOMPARE(rt->boxes.size(), 0);
}

void TestIni::booleans_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("value");
    QTest::newRow("True") << QByteArray("True") << true;
    QTest::newRow("true") << QByteArray("true") << true;
    QTest::newRow("TRUE") << QByteArray("TRUE") << true;
    QTest::newRow("False") << QByteArray("False") << false;
    QTest::newRow("1") << QByteArray("1") << false;
    QTest::newRow("yes") << QByteArray("yes") << false;
    QTest::newRow("-1") << QByteArray("-1") << false;
    QTest::newRow("empty") << QByteArray("") << false;
}

void TestIni::booleans() {
    QFETCH(QByteArray, stored);
    QFETCH(bool, value);
    test::TestInstallation install;
    install.write(kFile, "[Project]\r\nFlag=" + stored + "\r\n");
    auto rt = install.runtime();
    ProcessState state(*rt);
    QCOMPARE(LoadIniBoolean(state, "Project", "Flag", install.path(kFile), false), value);
}

void TestIni::overflowGoesToTheErrorHandler_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("one above 16 bits") << QByteArray("32768");
    QTest::newRow("one below 16 bits") << QByteArray("-32769");
    QTest::newRow("beyond 32 bits") << QByteArray("99999999999");
}

void TestIni::overflowGoesToTheErrorHandler() {
    QFETCH(QByteArray, stored);
    test::TestInstallation install;
    install.write(kFile, "[Project]\r\nN=" + stored + "\r\n");
    auto rt = install.runtime();
    ProcessState state(*rt);
    rt->answer(MsgAnswer::Yes);
    QCOMPARE(LoadIniInteger(state, "Project", "N", install.path(kFile), false), qint16(0));
    QCOMPARE(rt->boxes.size(), 1);
    QCOMPARE(rt->boxes[0].title, QStringLiteral("Unexpected error"));
    QCOMPARE(install.read("N4Rcfglog.txt"),
             QByteArray("Fehler in KPL_Presets / KPL_Presets_Config / LoadIniInteger (Nr. 6) "
                        ":Overflow\r\n"));

    // Asked anew in another run.
    ProcessState nextRun(*rt);
    rt->answer(MsgAnswer::No);
    try {
        LoadIniInteger(nextRun, "Project", "N", install.path(kFile), false);
        QFAIL("No must end the program");
    } catch (const ProcessEnd& end) {
        QCOMPARE(end.code, ExitCode::Ended);
    }
}

void TestIni::savesByType_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("true") << QVariant(true) << QByteArray("true");
    QTest::newRow("false") << QVariant(false) << QByteArray("false");
    QTest::newRow("short 5") << QVariant::fromValue(qint16(5)) << QByteArray("5");
    QTest::newRow("int -2") << QVariant(-2) << QByteArray("-2");
    QTest::newRow("double") << QVariant(2.5) << QByteArray("2.5");
    QTest::newRow("text") << QVariant(QStringLiteral("M\u00e4 1")) << QByteArray("M\xe4 1");
}

void TestIni::savesByType() {
    QFETCH(QVariant, value);
    QFETCH(QByteArray, written);
    test::TestInstallation install;
    auto rt = install.runtime();
    ProcessState state(*rt);
    install.write("parameter/other.ini", "");
    QCOMPARE(SaveIni(state, value, "Project", "Key", install.path(kFile)), true);
    QCOMPARE(install.read(kFile), "[Project]\r\nKey=" + written + "\r\n");
}

void TestIni::wrongTypeLeavesTheEntry_data() {
    QTest::addColumn<QVariant>("value");
    QTest::newRow("date") << QVariant(QDate(2024, 1, 2));
    QTest::newRow("empty") << QVariant();
    QTest::newRow("line break") << QVariant(QStringLiteral("a\r\n[Other]\r\nx=1"));
}

void TestIni::wrongTypeLeavesTheEntry() {
    QFETCH(QVariant, value);
    test::TestInstallation install;
    const QByteArray before = "[Project]\r\nKey=old\r\n";
    install.write(kFile, before);
    auto rt = install.runtime();
    ProcessState state(*rt);
    QCOMPARE(SaveIni(state, value, "Project", "Key", install.path(kFile)), false);
    QCOMPARE(install.read(kFile), before);
    QCOMPARE(rt->boxes.size(), 1);
    QCOMPARE(rt->boxes[0].text, QStringLiteral("Ini Save:  wrong data type"));

    state.silentMode = true;
    SaveIni(state, value, "Project", "Key", install.path(kFile));
    QCOMPARE(rt->boxes.size(), 1);
    QCOMPARE(install.read("service.log"),
             QByteArray("! Fault KPL_Presets_Config: Ini Save:  wrong data type\r\n"));
}

void TestIni::reportsMissingEntryOnRequest() {
    test::TestInstallation install;
    install.write(kFile, "[Project]\r\n");
    auto rt = install.runtime();
    ProcessState state(*rt);
    QCOMPARE(LoadIniInteger(state, "Project", "NumberOfMachines", install.path(kFile), true),
             qint16(-1));
    QCOMPARE(rt->boxes.size(), 1);
    QCOMPARE(rt->boxes[0].text, "File '" + install.path(kFile) +
                                    "' or Section [Project] or Entry 'NumberOfMachines' not found");
}

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
