#include "errors/ErrorHandler.h"

#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "core/ProjectLayout.h"
#include "errors/LineBreak.h"
#include "errors/Logs.h"

#include <utility>

namespace kpl {

namespace {

QString failureKey(qint32 number, const QString& description, const QString& procName) {
    return procName + QChar(0x1f) + QString::number(number) + QChar(0x1f) + description;
}

// A failure met again: counted, not asked about again. The user let the
// run go on after it the first time (in silent mode it always goes on), so
// it goes on again.
bool isRepeat(ProcessState& state, const QString& key, const QString& logLine) {
    const auto found = state.failureByKey.constFind(key);
    if (found != state.failureByKey.constEnd()) {
        ++state.failuresAsked[*found].repeats;
        return true;
    }
    state.failureByKey.insert(key, state.failuresAsked.size());
    state.failuresAsked.append({logLine, 0});
    return false;
}

// One line for each failure that came again, with its count.
void logRepeatedFailures(ProcessState& state) {
    const QList<ProcessState::AskedFailure> asked = std::exchange(state.failuresAsked, {});
    state.failureByKey.clear();
    for (const ProcessState::AskedFailure& failure : asked) {
        if (failure.repeats > 0)
            WriteErrorLog(state, QStringLiteral("Repeated %1 more times, not asked again: %2")
                                     .arg(QString::number(failure.repeats), failure.logLine));
    }
}

} // namespace

ErrorAnswer ErrorSub(ProcessState& state, qint32 number, const QString& source,
                     const QString& description, const QString& procName, bool fatal) {
    ++state.failuresReported;
    const QString logLine = QStringLiteral("Fehler in ") +
                            componentName(state.runtime.executablePath()) + QStringLiteral(" / ") +
                            source + QStringLiteral(" / ") + procName + QStringLiteral(" (Nr. ") +
                            QString::number(number) + QStringLiteral(") :") + description;
    // A fatal failure ends the program whatever came before it.
    const bool ends = fatal && !state.silentMode;
    if (!ends && isRepeat(state, failureKey(number, description, procName), logLine))
        return ErrorAnswer::Continue;
    const QString notice = WriteErrorLog(state, logLine);
    const QString message =
        QStringLiteral("Unexpected error!") + lfCr() + description + lfCr() + notice;

    if (state.silentMode) {
        LogFault(state, message);
        return ErrorAnswer::Continue;
    }
    if (ends) {
        state.runtime.showMessage({message, QStringLiteral("Fatal error"), MsgIcon::Critical,
                                   MsgButtons::Ok, MsgAnswer::Ok});
        return ErrorAnswer::End;
    }
    const MsgAnswer answer = state.runtime.showMessage(
        {message + lfCr() + QStringLiteral("Resume?"), QStringLiteral("Unexpected error"),
         MsgIcon::Critical, MsgButtons::YesNo, MsgAnswer::Yes});
    return answer == MsgAnswer::Yes ? ErrorAnswer::Continue : ErrorAnswer::End;
}

void EndProgram(ProcessState& state) {
    logRepeatedFailures(state);
    throw ProcessEnd{ExitCode::Ended};
}

void FinishProcess(ProcessState& state, ExitCode outcome) {
    logRepeatedFailures(state);
    throw ProcessEnd{state.failuresReported > 0 ? ExitCode::EndedAfterFailures : outcome};
}

} // namespace kpl
