#include "app/NoDisplayGuard.h"

#include "core/ExitCode.h"

#include <QList>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace kpl {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

struct Guarding {
    QString programName;
    QtMessageHandler previous = nullptr;
    QList<HeldMessage> held;
};

// The one guard of the process, while it lives.
std::optional<Guarding> g_guarding;

// What Qt said first about the failed connection, as the reason.
QString reason() {
    for (const HeldMessage& message : std::as_const(g_guarding->held)) {
        if (!message.text.trimmed().isEmpty())
            return message.text.trimmed();
    }
    return QStringLiteral("no window system");
}

[[noreturn]] void endWithoutDisplay() {
    const QByteArray line =
        (g_guarding->programName +
         QStringLiteral(": no display: the dialog cannot open a window (") + reason() +
         QStringLiteral("); use /EXTERNAL SILENT to confirm without a window\n"))
            .toLocal8Bit();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
    std::fflush(stderr);
    std::_Exit(int(ExitCode::Ended));
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg)
        endWithoutDisplay();
    g_guarding->held.append(
        {type, context.file, context.line, context.function, context.category, text});
}

} // namespace

NoDisplayGuard::NoDisplayGuard(QString programName) {
    Q_ASSERT(!g_guarding);
    g_guarding.emplace(Guarding{std::move(programName), nullptr, {}});
    g_guarding->previous = qInstallMessageHandler(holdMessage);
}

NoDisplayGuard::~NoDisplayGuard() {
    qInstallMessageHandler(g_guarding->previous);
    const QList<HeldMessage> held = std::move(g_guarding->held);
    g_guarding.reset();
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(message.file.constData(), message.line,
                                         message.function.constData(),
                                         message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}

} // namespace kpl
