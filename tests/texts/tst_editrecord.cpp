#include "TestInstallation.h"
#include "Version.h"
#include "core/ProcessState.h"
#include "settings/Ini.h"
#include "texts/EditRecord.h"

#include <QTest>

using namespace kpl;

class TestEditRecord : public QObject {
    Q_OBJECT
private slots:
    void encodesTheEditor_data();
    void encodesTheEditor();
    void writesVersionAndMode_data();
    void writesVersionAndMode();
};

void TestEditRecord::encodesTheEditor_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("abc") << "abc"
                         << "666768";
    QTest::newRow("dashes dropped") << "a-b_c"
                                    << "666768";
    QTest::newRow("only dashes") << "-_-"
                                 << "";
    QTest::newRow("single digit") << QString(QChar(3)) << "8";
    QTest::newRow("three digits") << QString(QChar(0xFF)) << "104";
    QTest::newRow("euro in the code page") << QString(QChar(0x20AC)) << "85";
    QTest::newRow("outside the code page") << QString(QChar(0x4E00)) << "44";
}

void TestEditRecord::encodesTheEditor() {
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QCOMPARE(encodeEditor(text), encoded);
}

void TestEditRecord::writesVersionAndMode_data() {
    QTest::addColumn<bool>("integrated");
    QTest::addColumn<QString>("mode");
    QTest::newRow("standalone") << false << " - Standalone";
    QTest::newRow("integrated") << true << " - Integrated";
}

void TestEditRecord::writesVersionAndMode() {
    QFETCH(bool, integrated);
    QFETCH(QString, mode);
    test::TestInstallation install;
    install.write("KPL_Presets/KPL_Presets.cfg", "[Info]\r\nS_Prog=old\r\nS_Editor=old\r\n");
    auto rt = install.runtime();
    ProcessState state(*rt);
    state.integratedMode = integrated;
    WriteEditInfo(state);
    const QString cfg = install.path("KPL_Presets/KPL_Presets.cfg");
    QCOMPARE(LoadIniString(state, "Info", "S_Prog", cfg, false),
             QString::fromLatin1(version::kText) + mode);
    QCOMPARE(LoadIniString(state, "Info", "S_Editor", cfg, false), encodeEditor("tech"));
}

QTEST_GUILESS_MAIN(TestEditRecord)
#include "tst_editrecord.moc"
