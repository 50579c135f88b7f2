#include "app/CoreRuntime.h"
#include "app/DialogModel.h"
#include "app/EventGate.h"
#include "app/MaintenanceOptions.h"
#include "app/NoDisplayGuard.h"
#include "app/StartInfo.h"
#include "app/view/DialogStyle.h"
#include "app/view/DialogWindow.h"
#include "app/view/WidgetRuntime.h"
#include "core/CommandKeywords.h"
#include "core/ExitCode.h"
#include "core/ProcessState.h"
#include "core/platform/ParentConsole.h"
#include "core/platform/RuntimeFolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

namespace {

using namespace kpl;

// No window and no display: the load event confirms at once and ends the
// process.
int runSilent(int argc, char** argv, const QString& commandLine) {
    QCoreApplication app(argc, argv);
    CoreRuntime runtime(runningExecutablePath(), commandLine, processEnvironment());
    ProcessState state(runtime);
    DialogModel dialog(state, presetsDialogLayout());
    try {
        dialog.Form_Load();
    } catch (const ProcessEnd& end) {
        return int(end.code);
    }
    return int(ExitCode::Normal);
}

int runWithWindow(int argc, char** argv, const QString& commandLine) {
    // The environment as the program was given it, before a runtime folder
    // is named in it.
    const QStringList environment = processEnvironment();
    platform::nameRuntimeFolderWhereUnset();
    // Without a display the start ends here, before any file is written.
    std::optional<NoDisplayGuard> guard(std::in_place, programName(argc, argv));
    QApplication app(argc, argv);
    guard.reset();
    // The process ends only through the dialog's own ways out.
    app.setQuitOnLastWindowClosed(false);
    applyDialogStyle(app);
    EventGate gate;
    WidgetRuntime runtime(runningExecutablePath(), commandLine, environment, gate);
    ProcessState state(runtime);
    DialogModel dialog(state, presetsDialogLayout());
    DialogWindow window(dialog, gate);
    runtime.setBeforeEventLoop([&window] { window.refresh(); });
    window.load();
    if (gate.ended())
        return int(gate.exitCode());
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    platform::useParentConsole();
    QTextStream out(stdout);
    if (const std::optional<int> code = runMaintenanceOption(argc, argv, out))
        return *code;
    // Decided before any application object exists: a silent start needs no
    // display at all.
    const QString commandLine = rawCommandLine(argc, argv);
    if (ReadCommand(commandLine, QStringLiteral("EXTERNAL")) == QStringLiteral("SILENT"))
        return runSilent(argc, argv, commandLine);
    return runWithWindow(argc, argv, commandLine);
}
