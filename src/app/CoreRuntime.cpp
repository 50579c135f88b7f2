#include "app/CoreRuntime.h"

#include "app/MessageText.h"

#include <QCoreApplication>
#include <QTextStream>

namespace kpl {

MsgAnswer CoreRuntime::showMessage(const MessageBoxRequest& request) {
    QTextStream err(stderr);
    err << request.title << ": " << screenLines(request.text) << "\n";
    return request.defaultButton;
}

void CoreRuntime::doEvents() {
    if (m_pace.due())
        QCoreApplication::processEvents();
}

} // namespace kpl
