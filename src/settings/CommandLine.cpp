#include "settings/CommandLine.h"

#include "core/CommandKeywords.h"
#include "core/ProcessState.h"
#include "errors/Procedure.h"

namespace kpl {

bool GetStartModeIntegrated(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetStartModeIntegrated"));
    QString external;
    proc.assign(external, [&] {
        return ReadCommand(state.runtime.commandLine(), QStringLiteral("EXTERNAL"))
            .value_or(QString());
    });
    bool result = false;
    proc.step([&] {
        result = external == QLatin1String("N4RCFG");
        state.integratedMode = result;
    });
    proc.step([&] {
        state.silentMode = external == QLatin1String("SILENT");
        if (state.silentMode) {
            result = false;
            state.integratedMode = false;
        }
    });
    return result;
}

} // namespace kpl
