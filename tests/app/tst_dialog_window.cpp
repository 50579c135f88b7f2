#include "DialogFixture.h"
#include "OffscreenMessages.h"

#include "app/EventGate.h"
#include "app/view/ButtonPictures.h"
#include "app/view/DialogStyle.h"
#include "app/view/DialogWindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QtTest>

using namespace kpl;
using namespace kpl::test;

namespace {

// The picture buttons, their pictures and the pictures' sizes at 96 dpi.
struct ButtonPicture {
    const char* button;
    const char* picture;
    QSize size;
};
const ButtonPicture kButtonPictures[] = {
    {"CommandQuest", "quest", {41, 45}},
    {"CommandOK", "ok", {44, 36}},
    {"CommandCancel", "cancel", {37, 39}},
};

// Pixels whose colour or opacity differs by more than antialiasing does.
int pixelsApart(const QImage& a, const QImage& b) {
    int apart = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            apart += most > 48;
        }
    return apart;
}

} // namespace

// The dialog on screen: real widgets clicked and typed into, boxes answered
// through the scripted runtime.
class TestDialogWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<DialogFixture> m_f;
    std::unique_ptr<EventGate> m_gate;
    std::unique_ptr<DialogWindow> m_window;

    template <class Widget> Widget* widget(const QString& name) const {
        auto* found = m_window->findChild<Widget*>(name);
        if (!found)
            qFatal("no widget %s", qPrintable(name));
        return found;
    }
    QLineEdit* field() const { return widget<QLineEdit>(QStringLiteral("TextZeit")); }
    ScriptedRuntime& runtime() const { return *m_f->runtime; }

    void clickIndicator(QCheckBox* box) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator =
            box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
    }

private slots:
    void initTestCase() {
        filterOffscreenNoise();
        applyDialogStyle(*qApp);
    }

    void init() {
        m_f = std::make_unique<DialogFixture>();
        m_gate = std::make_unique<EventGate>();
        m_window = std::make_unique<DialogWindow>(m_f->model, *m_gate);
        m_window->load();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void cleanup() {
        QCOMPARE(runtime().unexpectedBoxes, 0);
        m_window.reset();
    }

    void widgetsFollowTheLayoutTable() {
        const TwipScale scale{double(m_window->logicalDpiX())};
        QCOMPARE(m_window->objectName(), QStringLiteral("frm_KPL_Presets_Config_Exe"));
        QCOMPARE(m_window->size(), QSize(scale.pixels(11880), scale.pixels(8595)));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QCOMPARE(m_window->windowTitle(),
                 QStringLiteral("Erweiterte Konfiguration KPL_Presets - standalone"));
        for (const Control& control : m_f->model.controls()) {
            auto* w = widget<QWidget>(control.name);
            QCOMPARE(w->geometry(),
                     QRect(scale.pixels(control.left), scale.pixels(control.top),
                           scale.pixels(control.width), scale.pixels(control.height)));
            QCOMPARE(w->parentWidget()->objectName(),
                     control.container.isEmpty() ? m_window->objectName() : control.container);
            QCOMPARE(w->font().bold(), control.font.bold);
            QCOMPARE(w->font().pointSizeF(), control.font.pointSize);
        }
        QCOMPARE(widget<QLabel>("Header")->text(),
                 QStringLiteral("KPL_Presets - Konfiguration BDE-Voreinstellungen"));
        QCOMPARE(widget<QCheckBox>("CheckDTI")->text(),
                 QStringLiteral("Funktion Manualdowntime aktivieren"));
        QCOMPARE(field()->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(widget<QFrame>("FrameDTI")->palette().color(QPalette::Window),
                 QColor(192, 192, 192));
        QCOMPARE(m_window->palette().color(QPalette::Window), QColor(192, 192, 192));
        for (const ButtonPicture& picture : kButtonPictures) {
            auto* button = widget<QPushButton>(picture.button);
            QCOMPARE(button->iconSize(), QSize(scale.scaled(picture.size.width()),
                                               scale.scaled(picture.size.height())));
            QVERIFY(!button->icon().isNull());
            QCOMPARE(button->text(), QString());
        }
        // Loaded: the presets are shown and OK is enabled (disabled at design time).
        QVERIFY(widget<QPushButton>("CommandOK")->isEnabled());
        QVERIFY(widget<QCheckBox>("CheckDTI")->isChecked());
        QCOMPARE(field()->text(), QStringLiteral("120"));
        QCOMPARE(QApplication::focusWidget(), widget<QWidget>("CommandOK"));
    }

    // The pictures look as the vector drawings they replace looked, rendered
    // at scale 1 and 2 (tests/app/pictures), but for a few pixels of
    // antialiasing.
    void picturesLookAsBefore_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("ratio");
        for (const ButtonPicture& p : kButtonPictures)
            for (const int ratio : {1, 2})
                QTest::addRow("%s at %d", p.picture, ratio) << QString(p.picture) << p.size << ratio;
    }

    void picturesLookAsBefore() {
        QFETCH(QString, picture);
        QFETCH(QSize, size);
        QFETCH(int, ratio);
        const QImage drawn =
            buttonPicture(picture, size, ratio).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage before(QStringLiteral(":/pictures/%1-%2x.png").arg(picture).arg(ratio));
        QCOMPARE(drawn.size(), before.size());
        const int apart = pixelsApart(drawn, before);
        QVERIFY2(apart <= 3, qPrintable(QStringLiteral("%1 pixels apart").arg(apart)));
    }

    void questionButtonTurnsGreenAndBack() {
        auto* quest = widget<QPushButton>("CommandQuest");
        QTest::mouseClick(quest, Qt::LeftButton);
        QCOMPARE(quest->palette().color(QPalette::Button), QColor(0, 255, 0));
        QTest::mouseClick(quest, Qt::LeftButton);
        QCOMPARE(quest->palette().color(QPalette::Button), QColor(192, 192, 192));
    }

    void checkBoxesToggle_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("indicator clicked") << "indicator";
        QTest::newRow("space key") << "space";
        QTest::newRow("clicked right of the caption") << "right";
    }

    void checkBoxesToggle() {
        QFETCH(QString, how);
        auto* box = widget<QCheckBox>("CheckTolleranz");
        const auto toggle = [&] {
            if (how == QLatin1String("space")) {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Space);
            } else if (how == QLatin1String("right")) {
                QTest::mouseClick(box, Qt::LeftButton, {},
                                  QPoint(box->width() - 5, box->height() / 2));
            } else {
                clickIndicator(box);
            }
        };
        toggle();
        QVERIFY(box->isChecked());
        QCOMPARE(m_f->control(ControlId::CheckTolleranz).value, 1);

        // In help mode the toggle is undone and one information box shown.
        QTest::mouseClick(widget<QPushButton>("CommandQuest"), Qt::LeftButton);
        runtime().answer(MsgAnswer::Ok);
        toggle();
        QVERIFY(box->isChecked());
        QCOMPARE(m_f->control(ControlId::CheckTolleranz).value, 1);
        QCOMPARE(runtime().boxes.size(), 1);
        QCOMPARE(runtime().boxes[0].title, QStringLiteral("Info:"));
    }

    void typingIntoTheTimeField_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::newRow("4000 ends as 3600") << "4000"
                                           << "3600" << 4;
        QTest::newRow("a letter after 12") << "12a"
                                           << "12" << 2;
        QTest::newRow("separator and digit after 12") << "12.5"
                                                      << "12" << 2;
    }

    void typingIntoTheTimeField() {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, caret);
        field()->setFocus(Qt::TabFocusReason);
        QCOMPARE(field()->selectedText(), QStringLiteral("120"));
        QTest::keyClicks(field(), keys);
        QCOMPARE(field()->text(), text);
        QCOMPARE(field()->cursorPosition(), caret);
        QCOMPARE(QString::number(m_f->state.timerSeconds), text);
    }

    void clickEnteringTheFieldSelectsItsText() {
        const int middle = field()->height() / 2;
        QTest::mouseClick(field(), Qt::LeftButton, {}, QPoint(field()->width() - 5, middle));
        QVERIFY(field()->hasFocus());
        QTest::keyClicks(field(), QStringLiteral("7"));
        QCOMPARE(field()->text(), QStringLiteral("7"));
        // Once in the field, a click places the caret.
        QTest::mouseClick(field(), Qt::LeftButton, {}, QPoint(2, middle));
        QCOMPARE(field()->cursorPosition(), 0);
        QVERIFY(!field()->hasSelectedText());
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::newRow("OK, Return") << "CommandOK" << int(Qt::Key_Return);
        QTest::newRow("Cancel, keypad Enter") << "CommandCancel" << int(Qt::Key_Enter);
    }

    void enterPressesTheFocusedButton() {
        QFETCH(QString, name);
        QFETCH(int, key);
        runtime().answer(MsgAnswer::Yes); // the cancel question
        auto* button = widget<QPushButton>(name);
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key(key));
        QVERIFY(m_gate->ended());
        QCOMPARE(runtime().boxes.size(), name == QLatin1String("CommandCancel") ? 1 : 0);
    }

    void emptyFieldBecomesZeroWhenTheFocusLeaves() {
        field()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field(), Qt::Key_Backspace);
        QCOMPARE(field()->text(), QString());
        QCOMPARE(m_f->state.timerSeconds, qint16(0));
        QTest::keyClick(field(), Qt::Key_Tab);
        QVERIFY(!field()->hasFocus());
        QCOMPARE(field()->text(), QStringLiteral("0"));
    }

    void helpModeClicksOnLabelAndFrame_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("label") << "LabelZeit";
        QTest::newRow("frame") << "FrameDTI";
        QTest::newRow("time field") << "TextZeit";
    }

    void helpModeClicksOnLabelAndFrame() {
        QFETCH(QString, name);
        auto* target = widget<QWidget>(name);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(runtime().boxes.isEmpty());
        QTest::mouseClick(widget<QPushButton>("CommandQuest"), Qt::LeftButton);
        runtime().answer(MsgAnswer::Ok);
        runtime().answer(MsgAnswer::Ok);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
        // The field is also entered: its focus shows the text a second time.
        QCOMPARE(runtime().boxes.size(), name == QLatin1String("TextZeit") ? 2 : 1);
        QCOMPARE(runtime().boxes[0].title, QStringLiteral("Info:"));
    }

    void okEndsTheProcessWithTheSavedPresets() {
        QTest::keyClick(widget<QCheckBox>("CheckDTI"), Qt::Key_Space);
        QTest::mouseClick(widget<QPushButton>("CommandOK"), Qt::LeftButton);
        QVERIFY(m_gate->ended());
        QCOMPARE(m_gate->exitCode(), ExitCode::Normal);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(
            m_f->ini(QStringLiteral("parameter/Program.ini"), "Project", "ManualDowntimeReasons"),
            QStringLiteral("false"));
        QCOMPARE(runtime().hourglassChanges, (QList<bool>{true, false}));
    }

    void cancelAnsweredNoKeepsTheDialogYesEndsIt() {
        auto* cancel = widget<QPushButton>("CommandCancel");
        runtime().answer(MsgAnswer::No);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!m_gate->ended());
        QVERIFY(m_window->isVisible());
        runtime().answer(MsgAnswer::Yes);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(m_gate->ended());
        QCOMPARE(runtime().boxes.size(), 2);
        // No further event reaches the model.
        QTest::mouseClick(widget<QPushButton>("CommandQuest"), Qt::LeftButton);
        QVERIFY(!m_f->state.helpMode);
    }

    void closingTheWindowWithNoKeepsTheEdits() {
        field()->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field(), QStringLiteral("42"));
        runtime().answer(MsgAnswer::No);
        QVERIFY(!m_window->close());
        QVERIFY(m_window->isVisible());
        QCOMPARE(runtime().boxes.value(0).title, QStringLiteral("Cancel?"));
        QCOMPARE(field()->text(), QStringLiteral("42"));
        runtime().answer(MsgAnswer::Yes);
        QVERIFY(m_window->close());
        QCOMPARE(m_gate->exitCode(), ExitCode::Cancelled);
    }
};

QTEST_MAIN(TestDialogWindow)
#include "tst_dialog_window.moc"
