#include "errors/ErrorHandler.h"

#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "core/ProjectLayout.h"
#include "errors/LineBreak.h"
#include "errors/Logs.h"

namespace kpl {

qint16 ErrorSub(ProcessState& state, qint32 number, const QString& source,
                const QString& description, const QString& procName, bool fatal) {
    ++state.failuresReported;
    const QString logLine = QStringLiteral("Fehler in ") +
                            componentName(state.runtime.executablePath()) + QStringLiteral(" / ") +
                            source + QStringLiteral(" / ") + procName + QStringLiteral(" (Nr. ") +
                            QString::number(number) + QStringLiteral(") :") + description;
    const QString notice = WriteErrorLog(state, logLine, false);
    const QString message =
        QStringLiteral("Unexpected error!") + lfCr() + description + lfCr() + notice;

    if (state.silentMode) {
        LogFault(state, message);
        return 2;
    }
    if (fatal) {
        state.runtime.showMessage({message, QStringLiteral("Fatal error"), MsgIcon::Critical,
                                   MsgButtons::Ok, MsgAnswer::Ok});
        return 1;
    }
    const MsgAnswer answer = state.runtime.showMessage(
        {message + lfCr() + QStringLiteral("Resume?"), QStringLiteral("Unexpected error"),
         MsgIcon::Critical, MsgButtons::YesNo, MsgAnswer::Yes});
    return answer == MsgAnswer::Yes ? 2 : 1;
}

void EndProgram(ProcessState&) {
    throw ProcessEnd{ExitCode::Ended};
}

void FinishProcess(ProcessState& state, ExitCode outcome) {
    throw ProcessEnd{state.failuresReported > 0 ? ExitCode::EndedAfterFailures : outcome};
}

} // namespace kpl
