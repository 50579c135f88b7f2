#include "app/view/WidgetRuntime.h"

#include "app/EventGate.h"
#include "app/MessageText.h"
#include "app/view/DialogStyle.h"
#include "core/platform/ExecutableNames.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>

namespace kpl {

namespace {

QMessageBox::Icon toIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButton toButton(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Yes:
        return QMessageBox::Yes;
    case MsgAnswer::No:
        return QMessageBox::No;
    case MsgAnswer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// A Yes/No box is answered by Yes or No only: it has no close button, and
// Escape and requests to close it are ignored. A box with only OK closes as
// usual, answering OK.
class MessageBox : public QMessageBox {
public:
    MessageBox(bool answerRequired, QWidget* parent)
        : QMessageBox(parent), m_answerRequired(answerRequired) {
        if (answerRequired)
            setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (m_answerRequired)
            event->ignore();
        else
            QMessageBox::closeEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (!m_answerRequired || !event->matches(QKeySequence::Cancel))
            QMessageBox::keyPressEvent(event);
    }

private:
    bool m_answerRequired;
};

// Room in the title bar for the title beside the window's icon and buttons:
// a box with a short text is otherwise narrower than its title needs.
void makeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int titleBarExtras = qRound(160 * box.logicalDpiX() / 96.0);
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + titleBarExtras;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

MsgAnswer toAnswer(int pressed) {
    if (pressed == QMessageBox::Yes)
        return MsgAnswer::Yes;
    if (pressed == QMessageBox::No)
        return MsgAnswer::No;
    return MsgAnswer::Ok;
}

} // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request,
                                             const QString& applicationTitle, QWidget* parent) {
    auto box = std::make_unique<MessageBox>(request.buttons == MsgButtons::YesNo, parent);
    box->setFont(messageBoxFont());
    box->setTextFormat(Qt::PlainText);
    box->setText(screenLines(request.text));
    box->setWindowTitle(request.title.isEmpty() ? applicationTitle : request.title);
    box->setIcon(toIcon(request.icon));
    if (request.buttons == MsgButtons::YesNo)
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else
        box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(toButton(request.defaultButton));
    makeRoomForTitle(*box);
    return box;
}

WidgetRuntime::WidgetRuntime(QString executablePath, QString commandLine, QStringList environment,
                             const EventGate& gate)
    : Runtime(std::move(executablePath), std::move(commandLine), std::move(environment)),
      m_gate(gate) {}

void WidgetRuntime::syncScreen() {
    if (m_beforeEventLoop)
        m_beforeEventLoop();
}

MsgAnswer WidgetRuntime::showMessage(const MessageBoxRequest& request) {
    syncScreen();
    const auto box = buildMessageBox(request, platform::executableName(executablePath()),
                                     QApplication::activeWindow());
    const int pressed = box->exec();
    m_gate.rethrowIfEnded();
    return toAnswer(pressed);
}

void WidgetRuntime::doEvents() {
    if (m_pace.due()) {
        syncScreen();
        QCoreApplication::processEvents();
    }
    m_gate.rethrowIfEnded();
}

void WidgetRuntime::setHourglass(bool on) {
    if (on == m_hourglass)
        return;
    m_hourglass = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace kpl
