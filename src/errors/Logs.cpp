#include "errors/Logs.h"

#include "core/CommandKeywords.h"
#include "core/ProcessState.h"
#include "core/ProjectLayout.h"
#include "core/platform/CaseBlindPath.h"
#include "core/platform/ExecutableNames.h"
#include "core/platform/PathRules.h"
#include "core/platform/ServiceLog.h"
#include "core/platform/Windows1252.h"
#include "errors/LineBreak.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <optional>

namespace kpl {

namespace {
QString executableName(const ProcessState& state) {
    return platform::executableName(state.runtime.executablePath());
}

// Appends `text` and CR LF to the file in Windows-1252, creating it when
// missing. The system's reason when the file cannot be written.
std::optional<QString> appendLine(const QString& path, const QString& text) {
    if (path.isEmpty())
        return QStringLiteral("no file was named");
    QFile file(platform::resolveForWrite(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return file.errorString();
    const QByteArray line = platform::toAnsi(text) + "\r\n";
    if (file.write(line) != line.size() || !file.flush())
        return file.errorString();
    return std::nullopt;
}

// A log line that cannot be written is no silent loss: it goes to standard
// error with the log's path and the reason, and it counts as a failure of the
// run, which then ends with exit code 2. The reason when it was not written.
std::optional<QString> appendLogLine(ProcessState& state, const QString& path,
                                     const QString& line) {
    std::optional<QString> refused = appendLine(path, line);
    if (refused) {
        ++state.failuresReported;
        const QString text =
            QStringLiteral("%1: not logged to \"%2\" (%3): %4\n")
                .arg(executableName(state), QDir::toNativeSeparators(path), *refused, line);
        std::fputs(text.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }
    return refused;
}
} // namespace

QString errorLogPath(ProcessState& state) {
    const QString folder = projectFolder(state);
    if (state.integratedMode)
        return logFileValue(state.runtime.commandLine());
    return folder + platform::separator() + QStringLiteral("N4Rcfglog.txt");
}

QString WriteErrorLog(ProcessState& state, const QString& text) {
    const QString path = errorLogPath(state);
    if (const std::optional<QString> refused = appendLogLine(state, path, text))
        return QStringLiteral("Error could not be logged to ") + lfCr() +
               platform::shownPath(path) + QStringLiteral(" (") + *refused + QLatin1Char(')');
    return QStringLiteral("Error logged to ") + lfCr() + platform::shownPath(path);
}

void ReportFault(ProcessState& state, const QString& text) {
    ++state.failuresReported;
    if (!state.silentMode) {
        state.runtime.showMessage(
            {text, executableName(state), MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok});
        return;
    }
    LogFault(state, text);
}

void LogFault(ProcessState& state, const QString& text) {
    const QString named = state.runtime.environmentValue(QStringLiteral("KPL_SERVICE_LOG"));
    const QString path = platform::serviceLogPath(named);
    const QString fallback = platform::serviceLogFallback(
        named, state.runtime.environmentValue(QStringLiteral("ProgramData")));
    const QString line =
        QStringLiteral("! Fault ") + executableName(state) + QStringLiteral(": ") + text;
    // The fallback is the last place tried, and the one whose refusal counts.
    if (!fallback.isEmpty() && !appendLine(path, line))
        return;
    appendLogLine(state, fallback.isEmpty() ? path : fallback, line);
}

} // namespace kpl
