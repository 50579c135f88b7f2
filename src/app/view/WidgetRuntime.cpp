#include "app/view/WidgetRuntime.h"

#include "app/EventGate.h"
#include "app/MessageText.h"
#include "settings/Platform.h"

#include <QApplication>
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
    auto box = std::make_unique<QMessageBox>(parent);
    box->setTextFormat(Qt::PlainText);
    box->setText(screenLines(request.text));
    box->setWindowTitle(request.title.isEmpty() ? applicationTitle : request.title);
    box->setIcon(toIcon(request.icon));
    if (request.buttons == MsgButtons::YesNo)
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else
        box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(toButton(request.defaultButton));
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
