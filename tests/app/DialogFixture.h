#pragma once

#include "ProjectFiles.h"
#include "app/DialogModel.h"
#include "core/ExitCode.h"
#include "core/ProcessState.h"

#include <QLocale>
#include <memory>
#include <optional>

namespace kpl::test {

// A project laid out in a temporary folder (see writeProjectFiles) and the
// presets dialog of its executable, started with `commandLine` on a scripted
// runtime.
class DialogFixture {
public:
    explicit DialogFixture(const QString& commandLine = {}, const QLocale& locale = QLocale::c());

    TestInstallation install;
    std::unique_ptr<ScriptedRuntime> runtime;
    ProcessState state;
    DialogModel model;

    // Runs a handler; the exit code when it ended the process.
    template <class Handler> std::optional<ExitCode> run(Handler&& handler) {
        try {
            handler();
        } catch (const ProcessEnd& end) {
            return end.code;
        }
        return std::nullopt;
    }
    std::optional<ExitCode> load() {
        return run([&] { model.Form_Load(); });
    }

    // One entry of an INI file of the project, read as the program reads it.
    QString ini(const QString& relative, const QString& section, const QString& key) const {
        return iniEntry(install.path(relative), section, key);
    }
    // The lines of a log file of the project, without their line ends.
    QStringList logLines(const QString& path) const;
    QString errorLog() const { return install.path(QStringLiteral("N4Rcfglog.txt")); }

    const Control& control(ControlId id) const { return model.control(id); }
};

} // namespace kpl::test
