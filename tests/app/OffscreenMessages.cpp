#include "OffscreenMessages.h"

#include <QString>

namespace kpl::test {

namespace {
QtMessageHandler g_next = nullptr;

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    g_next(type, context, message);
}
} // namespace

void filterOffscreenNoise() {
    if (!g_next)
        g_next = qInstallMessageHandler(handler);
}

} // namespace kpl::test
