#include "DialogFixture.h"
#include "FailingFileCalls.h"

#include "Version.h"
#include "errors/LineBreak.h"

#include <QtTest>

using namespace kpl;
using namespace kpl::test;

namespace {

QString standaloneQuestion() {
    return QStringLiteral("Cancel edits?") + lfCr() + QStringLiteral("Remark:") + lfCr() +
           QStringLiteral("Until now no changes have been taken over ");
}

const QByteArray kCancelLogLine = "Konfigurations-EXE wurde abgebrochen:     KPL_Presets\r\n";

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Leaving the dialog: confirmation, cancellation and closing the window.
class TestCancelClose : public QObject {
    Q_OBJECT

private slots:
    void cancelAsksFirst_data() {
        QTest::addColumn<bool>("integrated");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("standalone, No") << false << MsgAnswer::No;
        QTest::newRow("standalone, Yes") << false << MsgAnswer::Yes;
        QTest::newRow("integrated, No") << true << MsgAnswer::No;
        QTest::newRow("integrated, Yes") << true << MsgAnswer::Yes;
    }

    void cancelAsksFirst() {
        QFETCH(bool, integrated);
        QFETCH(MsgAnswer, answer);
        TestInstallation paths;
        const QString hostLog = paths.path(QStringLiteral("host.log"));
        DialogFixture f(integrated ? QStringLiteral("EXTERNAL N4RCFG /LOGFILE ") + hostLog
                                   : QString());
        const QByteArray programIni = f.install.read(QStringLiteral("parameter/Program.ini"));
        QCOMPARE(f.load(), std::nullopt);
        f.model.setValue(ControlId::CheckDTI, 1 - f.control(ControlId::CheckDTI).value);
        f.runtime->answer(answer);

        const std::optional<ExitCode> end = f.run([&] { f.model.CommandCancel_Click(); });

        QString question = standaloneQuestion();
        if (integrated)
            question += lfCr() +
                        "\"KPL_Presets\" has to be configured again in \"standalone-mode\" via " +
                        lfCr() + '"' + f.install.executablePath() + '"';
        QCOMPARE(f.runtime->boxes.size(), 1);
        const MessageBoxRequest& box = f.runtime->boxes[0];
        QCOMPARE(box.text, question);
        QCOMPARE(box.title, QStringLiteral("Cancel?"));
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        QCOMPARE(box.buttons, MsgButtons::YesNo);
        QCOMPARE(box.defaultButton, MsgAnswer::No);
        const QString log = integrated ? hostLog : f.errorLog();
        if (answer == MsgAnswer::Yes) {
            QCOMPARE(end, ExitCode::Cancelled);
            QCOMPARE(contentOf(log), kCancelLogLine);
            QCOMPARE(QFile::exists(f.errorLog()), !integrated);
        } else {
            QCOMPARE(end, std::nullopt);
            QVERIFY(!QFile::exists(log));
            QVERIFY(f.control(ControlId::CommandCancel).enabled);
        }
        QCOMPARE(f.install.read(QStringLiteral("parameter/Program.ini")), programIni);
    }

    void closingWithNoKeepsTheEdits() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.model.setText(ControlId::TextZeit, QStringLiteral("42"));
        f.runtime->answer(MsgAnswer::No);
        bool cancel = false;
        QCOMPARE(f.run([&] { f.model.Form_QueryUnload(cancel); }), std::nullopt);
        QVERIFY(cancel);
        QCOMPARE(f.control(ControlId::TextZeit).text, QStringLiteral("42"));
        QCOMPARE(f.runtime->boxes.value(0).text, standaloneQuestion());
    }

    void closingWithYesEndsTheProcess() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.runtime->answer(MsgAnswer::Yes);
        bool cancel = true;
        QCOMPARE(f.run([&] { f.model.Form_QueryUnload(cancel); }), ExitCode::Cancelled);
        QVERIFY(!cancel);
        QCOMPARE(f.install.read(QStringLiteral("N4Rcfglog.txt")), kCancelLogLine);
    }

    void silentCancelGoesToTheServiceLog() {
        DialogFixture f;
        f.state.silentMode = true;
        QVERIFY(f.model.ConfirmCancel());
        QVERIFY(f.runtime->boxes.isEmpty());
        QCOMPARE(f.install.read(QStringLiteral("service.log")),
                 "! Fault KPL_Presets_Config: " + standaloneQuestion().toLatin1() + "\r\n");
        QVERIFY(!f.install.exists(QStringLiteral("N4Rcfglog.txt")));
    }

    void confirmationSavesAndEnds_data() {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("program");
        // Integrated starts read the machine copy's presets and write them to
        // the project.
        QTest::newRow("standalone")
            << "" << QStringList{"false", "false", "120"} << QString(" - Standalone");
        QTest::newRow("integrated")
            << "EXTERNAL N4RCFG /LOGFILE /tmp/unused.log" << QStringList{"true", "true", "300"}
            << QString(" - Integrated");
    }

    void confirmationSavesAndEnds() {
        QFETCH(QString, commandLine);
        QFETCH(QStringList, written);
        QFETCH(QString, program);
        DialogFixture f(commandLine);
        QCOMPARE(f.load(), std::nullopt);
        f.model.setValue(ControlId::CheckDTI, 1 - f.control(ControlId::CheckDTI).value);
        const int eventRunsBefore = f.runtime->eventRuns;

        QCOMPARE(f.run([&] { f.model.CommandOK_Click(); }), ExitCode::Normal);

        QVERIFY(!f.control(ControlId::CommandOK).enabled);
        QVERIFY(!f.control(ControlId::CommandCancel).enabled);
        QVERIFY(f.runtime->eventRuns > eventRunsBefore);
        QCOMPARE(f.runtime->hourglassChanges, (QList<bool>{true, false}));
        QVERIFY(f.runtime->boxes.isEmpty());
        const QString ini = QStringLiteral("parameter/Program.ini");
        QCOMPARE((QStringList{f.ini(ini, "Project", "ManualDowntimeReasons"),
                              f.ini(ini, "Project", "ManualDowntimeTimerActiv"),
                              f.ini(ini, "Project", "ManualDowntimeTimer")}),
                 written);
        QCOMPARE(f.ini(QStringLiteral("KPL_Presets/KPL_Presets.cfg"), "Info", "S_Prog"),
                 QString::fromLatin1(version::kText) + program);
    }

    // Without the machine copy's program INI the presets read are defaults:
    // only the one the technician sets is written, the others stay. A
    // keystroke the time field undoes sets nothing.
    void unreadPresetsAreWrittenOnlyWhereSetInTheDialog() {
        TestInstallation paths;
        DialogFixture f(QStringLiteral("EXTERNAL N4RCFG /LOGFILE ") +
                        paths.path(QStringLiteral("host.log")));
        QFile::remove(f.install.path(QStringLiteral("Restore/parameter/program.ini")));
        QCOMPARE(f.load(), std::nullopt);
        QCOMPARE(f.runtime->boxes.size(), 1);
        QVERIFY(f.runtime->boxes[0].text.contains(QStringLiteral("program.ini was not found")));
        f.model.setValue(ControlId::CheckTolleranz, 1);
        f.model.setText(ControlId::TextZeit, f.control(ControlId::TextZeit).text + QLatin1Char('x'));
        QCOMPARE(f.run([&] { f.model.CommandOK_Click(); }), ExitCode::EndedAfterFailures);
        const QString ini = QStringLiteral("parameter/Program.ini");
        QCOMPARE((QStringList{f.ini(ini, "Project", "ManualDowntimeReasons"),
                              f.ini(ini, "Project", "ManualDowntimeTimerActiv"),
                              f.ini(ini, "Project", "ManualDowntimeTimer")}),
                 (QStringList{"true", "true", "120"}));
    }

    void refusedWritesAreReported_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("line");
        QTest::newRow("presets") << "parameter/Program.ini"
                                 << "WriteInputs: [Project] ManualDowntimeReasons, [Project] "
                                    "ManualDowntimeTimerActiv, [Project] ManualDowntimeTimer";
        QTest::newRow("edit record") << "KPL_Presets/KPL_Presets.cfg"
                                     << "WriteEditInfo: [Info] S_Prog, [Info] S_Editor";
    }

    void refusedWritesAreReported() {
        QFETCH(QString, file);
        QFETCH(QString, line);
        DialogFixture f;
        FailingFileCalls calls(FailingFileCalls::Call::Rename, std::errc::permission_denied,
                               QFileInfo(file).fileName());
        f.state.profile.useFileCalls(calls);
        QCOMPARE(f.load(), std::nullopt);
        QCOMPARE(f.run([&] { f.model.CommandOK_Click(); }), ExitCode::EndedAfterFailures);
        const QString text = line + " could not be written to " + f.install.path(file) +
                             " (Permission denied while putting it in place)";
        QCOMPARE(f.logLines(f.errorLog()), QStringList{text});
        QCOMPARE(f.runtime->boxes.size(), 1);
        QCOMPARE(f.runtime->boxes[0].text, text);
    }

    // The window's close button while the confirmation runs: the run is not
    // cut short, and nobody is told that nothing was taken over.
    void closeRequestDuringTheRunIsRefused() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.model.setText(ControlId::TextZeit, QStringLiteral("42"));
        bool cancel = false;
        f.runtime->duringEvents = [&] { f.model.Form_QueryUnload(cancel); };
        f.runtime->answer(MsgAnswer::Yes);
        QCOMPARE(f.run([&] { f.model.CommandOK_Click(); }), ExitCode::Normal);
        QVERIFY(cancel);
        QVERIFY(f.runtime->boxes.isEmpty());
        QCOMPARE(f.ini(QStringLiteral("parameter/Program.ini"), "Project", "ManualDowntimeTimer"),
                 QStringLiteral("42"));
    }

    void failuresOnTheWayEndWithTheirOwnCode_data() {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("confirmed") << false;
        QTest::newRow("cancelled") << true;
    }

    void failuresOnTheWayEndWithTheirOwnCode() {
        QFETCH(bool, cancelled);
        DialogFixture f;
        f.install.write(QStringLiteral("parameter/Program.ini"),
                        "[Project]\r\nManualDowntimeTimer=99999\r\n");
        f.runtime->answer(MsgAnswer::Yes);
        QCOMPARE(f.load(), std::nullopt);
        f.runtime->answer(MsgAnswer::Yes);
        QCOMPARE(f.run([&] {
            if (cancelled)
                f.model.CommandCancel_Click();
            else
                f.model.CommandOK_Click();
        }),
                 ExitCode::EndedAfterFailures);
    }
};

QTEST_GUILESS_MAIN(TestCancelClose)
#include "tst_cancel_close.moc"
