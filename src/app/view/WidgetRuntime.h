#pragma once

#include "core/EventPace.h"
#include "core/Runtime.h"

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace kpl {

class EventGate;

// The runtime services of a start with a window: message boxes, letting
// pending events run and the hourglass, with Qt Widgets.
class WidgetRuntime : public Runtime {
public:
    WidgetRuntime(QString executablePath, QString commandLine, QStringList environment,
                  const EventGate& gate);

    // Called before the event loop runs in the middle of a handler, so the
    // screen shows the model's state (the window's refresh).
    void setBeforeEventLoop(std::function<void()> hook) { m_beforeEventLoop = std::move(hook); }

    MsgAnswer showMessage(const MessageBoxRequest& request) override;
    void doEvents() override;
    void setHourglass(bool on) override;

private:
    void syncScreen();

    const EventGate& m_gate;
    std::function<void()> m_beforeEventLoop;
    EventPace m_pace;
    bool m_hourglass = false;
};

// The box for `request`: its lines, title (the application's title when the
// request has none), icon, buttons and default button.
std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request,
                                             const QString& applicationTitle, QWidget* parent);

} // namespace kpl
