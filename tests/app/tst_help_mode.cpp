#include "DialogFixture.h"

#include <QtTest>

using namespace kpl;
using namespace kpl::test;

namespace {

// A language file whose help texts name their numbers.
void writeHelpTexts(DialogFixture& f) {
    f.install.write(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini"),
                    "[Language]\r\nLanguage=1031\r\n[1031]\r\nHelp1=Hilfe 1\r\nHelp2=Hilfe 2\r\n"
                    "Help11=Hilfe 11\r\nHelp12=Hilfe 12\r\nHelp13=Hilfe 13\r\n");
}

enum class Action { Click, Focus };

// Clicks a control (or moves the focus into it) the way the window forwards
// it; a check box click arrives as the new value.
void act(DialogFixture& f, ControlId control, Action action) {
    DialogModel& m = f.model;
    if (action == Action::Focus)
        return m.TextZeit_GotFocus();
    switch (control) {
    case ControlId::CheckDTI:
    case ControlId::CheckTolleranz:
        return m.setValue(control, 1 - f.control(control).value);
    case ControlId::FrameDTI:
        return m.FrameDTI_Click();
    case ControlId::LabelZeit:
        return m.LabelZeit_Click();
    case ControlId::TextZeit:
        return m.TextZeit_Click();
    case ControlId::CommandOK:
        return m.CommandOK_Click();
    case ControlId::CommandCancel:
        return m.CommandCancel_Click();
    case ControlId::CommandQuest:
        return m.CommandQuest_Click();
    }
}

} // namespace

// The help mode: a click shows the control's information text instead of
// acting.
class TestHelpMode : public QObject {
    Q_OBJECT

private slots:
    void questionButtonSwitchesTheModeAndItsColour() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.model.CommandQuest_Click();
        QVERIFY(f.state.helpMode);
        QCOMPARE(f.control(ControlId::CommandQuest).backColor, (Rgb{0, 255, 0}));
        f.model.CommandQuest_Click();
        QVERIFY(!f.state.helpMode);
        QCOMPARE(f.control(ControlId::CommandQuest).backColor, (Rgb{192, 192, 192}));
    }

    void eachControlShowsItsText_data() {
        QTest::addColumn<ControlId>("control");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("text");
        QTest::newRow("CheckDTI") << ControlId::CheckDTI << Action::Click << "Hilfe 11";
        QTest::newRow("CheckTolleranz") << ControlId::CheckTolleranz << Action::Click << "Hilfe 13";
        QTest::newRow("FrameDTI") << ControlId::FrameDTI << Action::Click << "Hilfe 11";
        QTest::newRow("LabelZeit") << ControlId::LabelZeit << Action::Click << "Hilfe 12";
        QTest::newRow("TextZeit click") << ControlId::TextZeit << Action::Click << "Hilfe 12";
        QTest::newRow("TextZeit entered") << ControlId::TextZeit << Action::Focus << "Hilfe 12";
        QTest::newRow("CommandOK confirms nothing")
            << ControlId::CommandOK << Action::Click << "Hilfe 1";
        QTest::newRow("CommandCancel asks nothing")
            << ControlId::CommandCancel << Action::Click << "Hilfe 2";
    }

    void eachControlShowsItsText() {
        QFETCH(ControlId, control);
        QFETCH(Action, action);
        QFETCH(QString, text);
        DialogFixture f;
        writeHelpTexts(f);
        QCOMPARE(f.load(), std::nullopt);
        f.model.CommandQuest_Click();
        const QList<Control> before = f.model.controls();

        for (int round = 1; round <= 2; ++round) {
            QCOMPARE(f.run([&] { act(f, control, action); }), std::nullopt);
            QCOMPARE(f.runtime->boxes.size(), round);
            const MessageBoxRequest& box = f.runtime->boxes.last();
            QCOMPARE(box.text, text);
            QCOMPARE(box.title, QStringLiteral("Info:"));
            QCOMPARE(box.icon, MsgIcon::Information);
            QCOMPARE(box.buttons, MsgButtons::Ok);
        }
        for (qsizetype i = 0; i < before.size(); ++i) {
            const Control& now = f.model.controls()[i];
            QCOMPARE(now.value, before[i].value);
            QCOMPARE(now.text, before[i].text);
            QCOMPARE(now.enabled, before[i].enabled);
        }
        QVERIFY(!f.install.exists(QStringLiteral("N4Rcfglog.txt")));
    }

    void outsideTheModeClicksShowNothingAndBoxesToggle() {
        DialogFixture f;
        writeHelpTexts(f);
        QCOMPARE(f.load(), std::nullopt);
        for (const ControlId control : {ControlId::FrameDTI, ControlId::LabelZeit,
                                        ControlId::TextZeit, ControlId::CheckTolleranz})
            act(f, control, Action::Click);
        QVERIFY(f.runtime->boxes.isEmpty());
        QCOMPARE(f.control(ControlId::CheckTolleranz).value, 1);
    }

    void lineBreakMarkersBecomeLineBreaks() {
        DialogFixture f;
        f.install.write(QStringLiteral("KPL_Presets/KPL_Presets_Config.ini"),
                        "[1031]\r\nHelp12=Erste Zeile<crlf>zweite Zeile<CRLF>\r\n");
        QCOMPARE(f.load(), std::nullopt);
        f.model.CommandQuest_Click();
        f.model.LabelZeit_Click();
        QCOMPARE(f.runtime->boxes.value(0).text, QStringLiteral("Erste Zeile\r\nzweite Zeile\r\n"));
    }

    void helpNumberOutsideTheTableShowsAnEmptyBox() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.model.CommandQuest_Click();
        Control stray;
        stray.helpId = 150;
        f.model.ShowInfoText(stray);
        QCOMPARE(f.runtime->boxes.size(), 1);
        QCOMPARE(f.runtime->boxes[0].text, QString());
        QCOMPARE(f.state.failuresReported, 0);
    }

    // The language file the package installs for new projects: complete (a
    // start adds nothing to it), read in its code page (the captions stay
    // the designed ones), and with a text for every help number.
    void defaultLanguageFileHoldsEveryTextOfTheDialog() {
        QFile shipped(QStringLiteral(KPL_DEFAULT_LANGUAGE_FILE));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray content = shipped.readAll();
        const QString languageFile = QStringLiteral("KPL_Presets/KPL_Presets_Config.ini");
        DialogFixture designed;
        QCOMPARE(designed.load(), std::nullopt);
        DialogFixture f;
        f.install.write(languageFile, content);
        QCOMPARE(f.load(), std::nullopt);

        QCOMPARE(f.install.read(languageFile), content);
        for (qsizetype i = 0; i < f.model.controls().size(); ++i) {
            const Control& control = f.model.controls()[i];
            QCOMPARE(control.caption, designed.model.controls()[i].caption);
            if (control.helpId != 0) {
                const QString& text = f.state.helpTexts.at(control.helpId);
                QVERIFY2(!text.isEmpty() && text != QLatin1String("0"), qPrintable(control.name));
            }
        }
    }

    void closingTheWindowStillAsksInHelpMode() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.model.CommandQuest_Click();
        f.runtime->answer(MsgAnswer::No);
        bool cancel = false;
        f.model.Form_QueryUnload(cancel);
        QVERIFY(cancel);
        QCOMPARE(f.runtime->boxes.value(0).title, QStringLiteral("Cancel?"));
    }
};

QTEST_GUILESS_MAIN(TestHelpMode)
#include "tst_help_mode.moc"
