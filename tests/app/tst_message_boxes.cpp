#include "OffscreenMessages.h"
#include "app/MessageText.h"
#include "app/view/WidgetRuntime.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace kpl;

// Message boxes as the model asks for them.
class TestMessageBoxes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::filterOffscreenNoise(); }

    void lineBreaksOnScreen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("LF CR") << "a\n\rb"
                               << "a\nb";
        QTest::newRow("two LF CR in a row") << "a\n\r\n\rb"
                                            << "a\n\nb";
        QTest::newRow("CR LF of an information text") << "a\r\n\r\nb"
                                                      << "a\n\nb";
        QTest::newRow("LF CR at the end") << "a\n\r"
                                          << "a\n";
        QTest::newRow("single LF and CR") << "a\nb\rc"
                                          << "a\nb\nc";
        QTest::newRow("no break") << "abc"
                                  << "abc";
    }

    void lineBreaksOnScreen() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(screenLines(text), shown);
    }

    void boxShowsWhatTheModelAsksFor_data() {
        QTest::addColumn<MessageBoxRequest>("request");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::newRow("cancel question")
            << MessageBoxRequest{"Cancel edits?\n\rRemark:", "Cancel?", MsgIcon::Exclamation,
                                 MsgButtons::YesNo, MsgAnswer::No}
            << "Cancel?" << int(QMessageBox::Warning) << int(QMessageBox::Yes | QMessageBox::No)
            << int(QMessageBox::No);
        QTest::newRow("error question")
            << MessageBoxRequest{"x", "Unexpected error", MsgIcon::Critical, MsgButtons::YesNo,
                                 MsgAnswer::Yes}
            << "Unexpected error" << int(QMessageBox::Critical)
            << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Yes);
        QTest::newRow("short information text")
            << MessageBoxRequest{"x", "Info:", MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok}
            << "Info:" << int(QMessageBox::Information) << int(QMessageBox::Ok)
            << int(QMessageBox::Ok);
        QTest::newRow("no title: the application's")
            << MessageBoxRequest{"x", "", MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok}
            << "KPL_Presets_Config" << int(QMessageBox::Information) << int(QMessageBox::Ok)
            << int(QMessageBox::Ok);
    }

    void boxShowsWhatTheModelAsksFor() {
        QFETCH(MessageBoxRequest, request);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(int, defaultButton);
        const auto box = buildMessageBox(request, QStringLiteral("KPL_Presets_Config"), nullptr);
        QCOMPARE(box->text(), screenLines(request.text));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->windowTitle(), title);
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(int(box->standardButtons()), buttons);
        QCOMPARE(int(box->standardButton(box->defaultButton())), defaultButton);
        // The dialog's typeface, and room for the title beside a window
        // manager's icon and three buttons.
        QCOMPARE(box->font().family(), QStringLiteral("MS Sans Serif"));
        QVERIFY(box->font().bold());
        box->show();
        QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance(title) + 100);
    }

    // Only Yes or No answers a question: Escape and closing the window do
    // not. A box with only OK closes either way.
    void onlyAButtonAnswersAQuestion_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<bool>("answerRequired");
        QTest::newRow("Yes/No") << MsgButtons::YesNo << true;
        QTest::newRow("OK") << MsgButtons::Ok << false;
    }

    void onlyAButtonAnswersAQuestion() {
        QFETCH(MsgButtons, buttons);
        QFETCH(bool, answerRequired);
        const auto box = buildMessageBox({"x", "t", MsgIcon::Critical, buttons, MsgAnswer::Ok},
                                         QStringLiteral("KPL_Presets_Config"), nullptr);
        QCOMPARE(bool(box->windowFlags() & Qt::WindowCloseButtonHint), !answerRequired);
        box->show();
        QTest::keyClick(box.get(), Qt::Key_Escape);
        QCOMPARE(box->isVisible(), answerRequired);
        box->show();
        QCOMPARE(box->close(), !answerRequired);
        QCOMPARE(box->clickedButton() != nullptr, !answerRequired);
    }
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_message_boxes.moc"
