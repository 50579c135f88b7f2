#include "errors/Logs.h"

#include "core/CommandKeywords.h"
#include "core/Platform.h"
#include "core/ProcessState.h"
#include "core/ProjectLayout.h"
#include "errors/LineBreak.h"

namespace kpl {

namespace {
QString executableName(const ProcessState& state) {
    return platform::executableName(state.runtime.executablePath());
}
} // namespace

QString errorLogPath(ProcessState& state) {
    const QString folder = projectFolder(state);
    if (state.integratedMode)
        return logFileValue(state.runtime.commandLine());
    return folder + platform::separator() + QStringLiteral("N4Rcfglog.txt");
}

QString WriteErrorLog(ProcessState& state, const QString& text, bool reportNow) {
    const QString path = errorLogPath(state);
    platform::appendLine(path, text); // logs are best effort
    const QString notice = QStringLiteral("Error logged to ") + lfCr() + path.toUpper();
    if (reportNow) {
        ReportFault(state, notice);
        return {};
    }
    return notice;
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
    const QString path =
        platform::serviceLogPath(state.runtime.environmentValue(QStringLiteral("KPL_SERVICE_LOG")));
    platform::appendLine(path, QStringLiteral("! Fault ") + executableName(state) +
                                   QStringLiteral(": ") + text);
}

} // namespace kpl
