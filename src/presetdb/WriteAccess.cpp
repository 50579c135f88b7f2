#include "presetdb/WriteAccess.h"

#include "core/ProcessState.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "settings/ProjectPaths.h"

#include <QDir>
#include <QFileInfo>

namespace kpl {

namespace {

// The existing file `path` (when there is one) and its folder, in this order,
// each once.
void addWithFolder(QStringList& paths, const QString& path) {
    if (path.isEmpty())
        return;
    for (const QString& entry : {path, QFileInfo(path).absolutePath()}) {
        if (!paths.contains(entry) && (entry != path || QFileInfo::exists(path)))
            paths.append(entry);
    }
}

} // namespace

bool CheckWriteAccess(ProcessState& state) {
    Procedure proc(state, QStringLiteral("CheckWriteAccess"));
    QStringList paths;
    proc.step([&] {
        const QString source = GetPathSourceOCXMDB(state);
        if (!source.isEmpty()) {
            addWithFolder(paths, source);
            addWithFolder(paths, GetPathOCXMDB(state));
        }
        addWithFolder(paths, GetProgramIniPath(state, IniAccess::Write));
        addWithFolder(paths, GetCFGPath(state));
    });
    for (const QString& path : std::as_const(paths)) {
        const std::error_code refused = state.fileCalls->writable(path);
        if (!refused)
            continue;
        const QString what = QFileInfo(path).isDir() ? QStringLiteral("the folder ") : QString();
        const QString text =
            QStringLiteral("The configuration was not saved and no file was changed: %1%2 cannot "
                           "be written (%3).")
                .arg(what, QDir::toNativeSeparators(path),
                     QString::fromLocal8Bit(refused.message().c_str()));
        WriteErrorLog(state, proc.name() + QStringLiteral(": ") + text);
        ReportFault(state, text);
        return false;
    }
    return true;
}

} // namespace kpl
