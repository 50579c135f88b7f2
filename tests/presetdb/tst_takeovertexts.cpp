#include "presetdb/TakeoverTexts.h"

#include <QTest>

using namespace kpl;

// The takeover's texts, composed exactly as the logs and boxes expect them.
class TestTakeoverTexts : public QObject {
    Q_OBJECT
private slots:
    void composesEachText_data();
    void composesEachText();
};

void TestTakeoverTexts::composesEachText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("warning")
        << takeover::warningText("KPL_PRESETS")
        << "WARNING!\n\rMachinecopy contains data in fields that won't be "
           "taken over!\n\rConfigurationfile \"KPL_PRESETS.CFG\", missing entry "
           "\"DataBaseAdditionalFields \"\n\rIf you continue now this data "
           "will be lost.\n\rContinue?";
    QTest::newRow("silent warning")
        << takeover::silentWarningText("KPL_PRESETS")
        << "WARNING!Machinecopy contains data in fields that won't be taken over!Configurationfile "
           "\"KPL_PRESETS.CFG\", missing entry \"DataBaseAdditionalFields \"If you continue now "
           "this data will be lost.Continue?";
    QTest::newRow("abort line")
        << takeover::abortLine("KPL_Presets_Config", "KPL_PRESETS",
                               "/opt/p/KPL_Presets/KPL_Presets_Config")
        << "KPL_Presets_Config :Database-Error - Contact Administrator! Configurationprogram "
           "\"KPL_PRESETS\" terminated. Please check Configuration in \"KPL_PRESETS.CFG\" Restart "
           "/OPT/P/KPL_PRESETS/KPL_PRESETS_CONFIG!";
    QTest::newRow("count line")
        << takeover::countLine("KPL_Presets_Config", "/r/KPL_Presets/KPL_Presets.mdb", 1, 0, 40)
        << "KPL_Presets_Config :Database-Error - Contact Administrator! Error in Sourcedatabase "
           "(/r/KPL_Presets/KPL_Presets.mdb): Counted 1 recordsets while database claims to have 0 "
           "recordsets!  (40 needed.";
    QTest::newRow("conflict line")
        << takeover::conflictLine("KPL_PRESETS", "Lot")
        << "Conflict while attempting to extend database!Configurationsfile \"KPL_PRESETS.CFG\", "
           "demanded field \"LOT\"missing in machinecopy-database\n\rConfiguration of "
           "\"KPL_PRESETS\" aborted.";
}

void TestTakeoverTexts::composesEachText() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

QTEST_GUILESS_MAIN(TestTakeoverTexts)
#include "tst_takeovertexts.moc"
