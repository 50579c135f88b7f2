#include "DialogFixture.h"

#include <QtTest>

using namespace kpl;
using namespace kpl::test;

namespace {

constexpr ControlId kField = ControlId::TextZeit;

// Keys as a user presses them in the field: characters are typed over the
// selection at the caret; "\b" is Backspace, "\x01" Home, "\x02" moves the
// focus away. The caret starts where the model put it and follows the
// model after each change of the text.
void press(DialogFixture& f, const QString& keys) {
    int caret = f.control(kField).selStart;
    int selected = f.control(kField).selLength;
    for (const QChar key : keys) {
        if (key == QChar(0x02)) {
            f.model.TextZeit_LostFocus();
        } else if (key == QChar(0x01)) {
            caret = 0;
            selected = 0;
            continue;
        } else {
            QString text = f.control(kField).text;
            text.remove(caret, selected);
            if (key == QLatin1Char('\b') && selected == 0 && caret > 0)
                text.remove(--caret, 1);
            else if (key != QLatin1Char('\b'))
                text.insert(caret, key);
            f.model.setText(kField, text);
        }
        caret = f.control(kField).selStart;
        selected = f.control(kField).selLength;
    }
}

} // namespace

// The time field as the user types into it: whole seconds, at most 3600,
// every other keystroke undone.
class TestTimeField : public QObject {
    Q_OBJECT

private slots:
    void keystrokes_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("caret");
        const QLocale c = QLocale::c();
        const QLocale german(QLocale::German, QLocale::Germany);
        // The field enters with its text "120" selected.
        QTest::newRow("typing 4000 ends as 3600") << c << "4000"
                                                  << "3600" << 3600 << 4;
        QTest::newRow("3600 is kept") << c << "3600"
                                      << "3600" << 3600 << 4;
        QTest::newRow("a letter after 12 is undone") << c << "12a"
                                                     << "12" << 12 << 2;
        QTest::newRow("separator and digit after 12") << c << "12.5"
                                                      << "12" << 12 << 2;
        QTest::newRow("German separator and digit after 12") << german << "12,5"
                                                             << "12" << 12 << 2;
        QTest::newRow("German group dot is undone") << german << "12.5"
                                                    << "125" << 125 << 3;
        QTest::newRow("a lone sign is undone") << c << "-"
                                               << "120" << 120 << 3;
        QTest::newRow("sign typed in front") << c << "12\x01-"
                                             << "-12" << -12 << 3;
        QTest::newRow("typed in the middle, caret goes to the end") << c
                                                                    << "12\x01"
                                                                       "3"
                                                                    << "312" << 312 << 3;
        QTest::newRow("deleting all keeps the field empty") << c << "\b"
                                                            << "" << 0 << 0;
        QTest::newRow("empty until the focus leaves") << c << "\b\x02"
                                                      << "0" << 0 << 1;
        QTest::newRow("leaving a filled field changes nothing") << c << "45\x02"
                                                                << "45" << 45 << 2;
        QTest::newRow("an exponent cannot be typed") << c << "1e3"
                                                     << "13" << 13 << 2;
        QTest::newRow("digits after deleting") << c << "\b7"
                                               << "7" << 7 << 1;
    }

    void keystrokes() {
        QFETCH(QLocale, locale);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, seconds);
        QFETCH(int, caret);
        DialogFixture f({}, locale);
        QCOMPARE(f.load(), std::nullopt);
        f.model.TextZeit_GotFocus();
        press(f, keys);
        QCOMPARE(f.control(kField).text, text);
        QCOMPARE(int(f.state.timerSeconds), seconds);
        QCOMPARE(f.control(kField).selStart, caret);
        QCOMPARE(f.control(kField).selLength, 0);
        QVERIFY(f.runtime->boxes.isEmpty());
    }

    void pastedTexts_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("exponent") << "1e3"
                                  << "1e3" << 1000;
        QTest::newRow("surrounding blanks") << " 12 "
                                            << " 12 " << 12;
        QTest::newRow("group separator") << "1,234"
                                         << "1,234" << 1234;
        QTest::newRow("fraction cut down") << "12.7"
                                           << "12" << 12;
        QTest::newRow("negative fraction cut down") << "-0.5"
                                                    << "-1" << -1;
        QTest::newRow("fraction above the maximum") << "4000.9"
                                                    << "3600" << 3600;
        QTest::newRow("just below the maximum") << "3599"
                                                << "3599" << 3599;
        QTest::newRow("just above the maximum") << "3601"
                                                << "3600" << 3600;
        QTest::newRow("infinity is undone") << "inf"
                                            << "120" << 120;
        QTest::newRow("not a number is undone") << "nan"
                                                << "120" << 120;
        QTest::newRow("beyond double is undone") << "1e400"
                                                 << "120" << 120;
        QTest::newRow("huge number cut down to a whole one") << "1e300"
                                                             << "3600" << 3600;
    }

    void pastedTexts() {
        QFETCH(QString, pasted);
        QFETCH(QString, text);
        QFETCH(int, seconds);
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.runtime->answer(MsgAnswer::Yes); // only the huge number overflows
        f.model.setText(kField, pasted);
        QCOMPARE(f.control(kField).text, text);
        QCOMPARE(int(f.state.timerSeconds), seconds);
        QCOMPARE(f.control(kField).selStart, int(text.size()));
    }

    void numberBeyondThirtyTwoBitsIsReportedAndCutToTheMaximum() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.runtime->answer(MsgAnswer::Yes);
        f.model.setText(kField, QStringLiteral("99999999999"));
        QCOMPARE(f.runtime->boxes.size(), 1);
        QVERIFY(
            f.logLines(f.errorLog()).value(0).contains(QStringLiteral("TextZeit_Change (Nr. 6)")));
        QCOMPARE(f.control(kField).text, QStringLiteral("3600"));
        QCOMPARE(f.state.timerSeconds, qint16(3600));
    }

    void numberBelowTheIntegerRangeKeepsTheLastValue() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.runtime->answer(MsgAnswer::Yes);
        f.model.setText(kField, QStringLiteral("-40000"));
        QCOMPARE(f.runtime->boxes.size(), 1);
        QCOMPARE(f.control(kField).text, QStringLiteral("-40000"));
        QCOMPARE(f.state.timerSeconds, qint16(120));
    }

    void enteringTheFieldSelectsAllOfIt() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.model.TextZeit_GotFocus();
        QCOMPARE(f.control(kField).selStart, 0);
        QCOMPARE(f.control(kField).selLength, 3);
    }

    void typedValueIsWhatTheConfirmationSaves() {
        DialogFixture f;
        QCOMPARE(f.load(), std::nullopt);
        f.model.TextZeit_GotFocus();
        press(f, QStringLiteral("4000"));
        QCOMPARE(f.run([&] { f.model.CommandOK_Click(); }), ExitCode::Normal);
        QCOMPARE(f.ini(QStringLiteral("parameter/Program.ini"), "Project", "ManualDowntimeTimer"),
                 QStringLiteral("3600"));
    }
};

QTEST_GUILESS_MAIN(TestTimeField)
#include "tst_time_field.moc"
