#include "DialogFixture.h"

#include "Version.h"
#include "texts/EditRecord.h"

#include <QtTest>

using namespace kpl;
using namespace kpl::test;

// Start-up of the dialog: the load event in each start mode, the presets it
// loads and, for the silent start, the whole run to the process end.
class TestDialogStartup : public QObject {
    Q_OBJECT

private slots:
    void loadPreparesTheDialogForTheStartMode_data() {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("dti");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<QString>("time");
        const QString base = QStringLiteral("Erweiterte Konfiguration KPL_Presets");
        // Integrated starts read the presets from the machine copy's program
        // INI: the start mode is decided before the presets are loaded.
        QTest::newRow("no keyword: standalone") << "" << base + " - standalone" << 1 << 0 << "120";
        QTest::newRow("integrated")
            << "EXTERNAL N4RCFG" << base + " - integriert" << 0 << 1 << "300";
        QTest::newRow("integrated, lower case, log file")
            << "external n4rcfg /LOGFILE /tmp/x.log" << base + " - integriert" << 0 << 1 << "300";
        QTest::newRow("other value: standalone")
            << "EXTERNAL HOST" << base + " - standalone" << 1 << 0 << "120";
    }

    void loadPreparesTheDialogForTheStartMode() {
        QFETCH(QString, commandLine);
        QFETCH(QString, caption);
        QFETCH(int, dti);
        QFETCH(int, tolerance);
        QFETCH(QString, time);
        DialogFixture f(commandLine);
        QCOMPARE(f.model.caption(), QStringLiteral("Base N4RCFG-Erweiterung"));
        QVERIFY(!f.control(ControlId::CommandOK).enabled);

        QCOMPARE(f.load(), std::nullopt);

        QCOMPARE(f.model.caption(), caption);
        QCOMPARE(f.state.machineNames.value_or(QStringList()).value(1), QStringLiteral("M1"));
        QCOMPARE(f.control(ControlId::CheckDTI).value, dti);
        QCOMPARE(f.control(ControlId::CheckTolleranz).value, tolerance);
        QCOMPARE(f.control(ControlId::TextZeit).text, time);
        QCOMPARE(f.state.timerSeconds, time.toShort());
        QVERIFY(f.control(ControlId::CommandOK).enabled);
        QVERIFY(f.control(ControlId::CommandCancel).enabled);
        // The control texts were loaded first, from the design-time captions.
        QCOMPARE(
            f.ini(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini"), "1031", "Caption_Header_"),
            QStringLiteral("KPL_Presets - Konfiguration BDE-Voreinstellungen"));
        QVERIFY(f.runtime->boxes.isEmpty());
        QCOMPARE(f.state.failuresReported, 0);
        // While it is open, a second dialog of the installation is refused.
        DialogModel second(f.state, presetsDialogLayout());
        QCOMPARE(f.run([&] { second.Form_Load(); }), ExitCode::Ended);
    }

    void storedPresetsAreLoaded_data() {
        QTest::addColumn<QByteArray>("project");
        QTest::addColumn<int>("dti");
        QTest::addColumn<QString>("time");
        QTest::newRow("keys missing") << QByteArray() << 0 << "0";
        QTest::newRow("true in mixed case, whole number")
            << QByteArray("ManualDowntimeReasons=True\r\nManualDowntimeTimer=120") << 1 << "120";
        QTest::newRow("TRUE") << QByteArray("ManualDowntimeReasons=TRUE") << 1 << "0";
        QTest::newRow("1 is not true") << QByteArray("ManualDowntimeReasons=1") << 0 << "0";
        QTest::newRow("yes is not true") << QByteArray("ManualDowntimeReasons=yes") << 0 << "0";
        QTest::newRow("-1 is not true") << QByteArray("ManualDowntimeReasons=-1") << 0 << "0";
        QTest::newRow("above the maximum") << QByteArray("ManualDowntimeTimer=5000") << 0 << "3600";
        QTest::newRow("not numeric") << QByteArray("ManualDowntimeTimer=zwei") << 0 << "0";
        QTest::newRow("fraction rounds down") << QByteArray("ManualDowntimeTimer=2.4") << 0 << "2";
        QTest::newRow("half rounds to even, down")
            << QByteArray("ManualDowntimeTimer=2.5") << 0 << "2";
        QTest::newRow("half rounds to even, up")
            << QByteArray("ManualDowntimeTimer=3.5") << 0 << "4";
        QTest::newRow("negative") << QByteArray("ManualDowntimeTimer=-7") << 0 << "-7";
    }

    void storedPresetsAreLoaded() {
        QFETCH(QByteArray, project);
        QFETCH(int, dti);
        QFETCH(QString, time);
        DialogFixture f;
        f.install.write(QStringLiteral("parameter/Program.ini"),
                        "[Project]\r\n" + project + "\r\n");
        QCOMPARE(f.load(), std::nullopt);
        QCOMPARE(f.control(ControlId::CheckDTI).value, dti);
        QCOMPARE(f.control(ControlId::TextZeit).text, time);
        QCOMPARE(QString::number(f.state.timerSeconds), time);
        QVERIFY(f.runtime->boxes.isEmpty());
    }

    void storedTimeOutsideTheIntegerRangeIsReported() {
        DialogFixture f;
        f.install.write(QStringLiteral("parameter/Program.ini"),
                        "[Project]\r\nManualDowntimeTimer=99999\r\n");
        f.runtime->answer(MsgAnswer::Yes);
        QCOMPARE(f.load(), std::nullopt);
        QCOMPARE(f.runtime->boxes.size(), 1);
        QCOMPARE(f.runtime->boxes[0].title, QStringLiteral("Unexpected error"));
        QVERIFY(f.logLines(f.errorLog())
                    .value(0)
                    .contains(QStringLiteral("SetupUserInterFace (Nr. 6)")));
        QCOMPARE(f.control(ControlId::TextZeit).text, QStringLiteral("0"));
    }

    void answerNoToAFailureEndsTheProcess() {
        DialogFixture f;
        f.install.write(QStringLiteral("parameter/Program.ini"),
                        "[Project]\r\nManualDowntimeTimer=99999\r\n");
        f.runtime->answer(MsgAnswer::No);
        QCOMPARE(f.load(), ExitCode::Ended);
        QVERIFY(!f.control(ControlId::CommandOK).enabled);
    }

    void silentStartConfirmsWithoutAnyQuestion_data() {
        QTest::addColumn<QByteArray>("project");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("presets written as read")
            << QByteArray("ManualDowntimeReasons=true\r\nManualDowntimeTimerActiv=false\r\n"
                          "ManualDowntimeTimer=120")
            << QStringList{"true", "false", "120"};
        QTest::newRow("missing or odd values")
            << QByteArray("ManualDowntimeReasons=1\r\nManualDowntimeTimer=x")
            << QStringList{"false", "false", "0"};
        QTest::newRow("too long a time")
            << QByteArray("ManualDowntimeTimer=7200") << QStringList{"false", "false", "3600"};
    }

    void silentStartConfirmsWithoutAnyQuestion() {
        QFETCH(QByteArray, project);
        QFETCH(QStringList, written);
        DialogFixture f(QStringLiteral("EXTERNAL SILENT"));
        f.install.write(QStringLiteral("parameter/Program.ini"),
                        "[Project]\r\n" + project + "\r\n");

        QCOMPARE(f.load(), ExitCode::Normal);

        const QString ini = QStringLiteral("parameter/Program.ini");
        QCOMPARE((QStringList{f.ini(ini, "Project", "ManualDowntimeReasons"),
                              f.ini(ini, "Project", "ManualDowntimeTimerActiv"),
                              f.ini(ini, "Project", "ManualDowntimeTimer")}),
                 written);
        const QString cfg = QStringLiteral("KPL_Presets/KPL_Presets.cfg");
        QCOMPARE(f.ini(cfg, "Info", "S_Prog"),
                 QString::fromLatin1(version::kText) + QStringLiteral(" - Standalone"));
        QCOMPARE(f.ini(cfg, "Info", "S_Editor"), encodeEditor(QStringLiteral("tech")));
        QCOMPARE(f.model.caption(),
                 QStringLiteral("Erweiterte Konfiguration KPL_Presets - standalone"));
        QVERIFY(f.runtime->boxes.isEmpty());
        QCOMPARE(f.runtime->hourglassChanges, (QList<bool>{true, false}));
        QVERIFY(!f.control(ControlId::CommandOK).enabled);
        QVERIFY(!f.control(ControlId::CommandCancel).enabled);
    }

};

QTEST_GUILESS_MAIN(TestDialogStartup)
#include "tst_dialog_startup.moc"
