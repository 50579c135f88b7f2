#include "app/InstallationClaim.h"

#include "core/ProcessState.h"
#include "core/platform/ExecutableNames.h"
#include "core/platform/PathRules.h"
#include "errors/ErrorHandler.h"
#include "errors/LineBreak.h"
#include "errors/Logs.h"
#include "settings/CommandLine.h"
#include "settings/InstallationLock.h"
#include "settings/ProjectPaths.h"

namespace kpl {

namespace {

QString executableName(const ProcessState& state) {
    return platform::executableName(state.runtime.executablePath());
}

[[noreturn]] void refuseStart(ProcessState& state, const QString& text) {
    state.runtime.showMessage(
        {text, executableName(state), MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok});
    EndProgram(state);
}

// The project is there, only the component's configuration file is not:
// the start is refused for what it lacks, and in a silent start the service
// log, which the host reads, gets the line it has always got.
[[noreturn]] void refuseWithoutConfiguration(ProcessState& state, const QString& missing) {
    GetStartModeIntegrated(state);
    if (state.silentMode)
        LogFault(state, QStringLiteral("File not found: ") + lfCr() + platform::shownPath(missing));
    refuseStart(state, QStringLiteral("The component configuration file") + lfCr() + missing +
                           lfCr() +
                           QStringLiteral("is missing from this component folder of the project. "
                                          "Restore it and start the program again. Nothing "
                                          "was written."));
}

} // namespace

platform::FileLock claimInstallation(ProcessState& state) {
    const QString missing = missingConfigurationFile(state);
    if (!missing.isEmpty() && hasProjectParameterFolder(state))
        refuseWithoutConfiguration(state, missing);
    if (!missing.isEmpty())
        refuseStart(state,
                    QStringLiteral("Not started in a component folder of a project: the "
                                   "component configuration file") +
                        lfCr() + missing + lfCr() +
                        QStringLiteral("was not found. Start the program through its link or "
                                       "copy in the folder of the component it configures (") +
                        executableName(state) + QStringLiteral(" configures the component ") +
                        GetOCXName(state) + QStringLiteral("). Nothing was written."));
    GetStartModeIntegrated(state);
    if (state.silentMode)
        return {};
    std::optional<platform::FileLock> lock = lockDialog(state);
    if (!lock)
        refuseStart(
            state, QStringLiteral("The dialog of this installation is already open.") + lfCr() +
                       QStringLiteral("Finish or cancel it first. Nothing was written.") + lfCr() +
                       QStringLiteral("(Lock file ") + dialogLockPath(state) + QStringLiteral(")"));
    return std::move(*lock);
}

} // namespace kpl
