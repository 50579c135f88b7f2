#include "core/ProjectLayout.h"

#include "core/ProcessState.h"
#include "core/platform/ExecutableNames.h"
#include "core/platform/PathRules.h"

namespace kpl {

QString componentName(const QString& executablePath) {
    const QString name = platform::executableName(executablePath);
    const qsizetype suffix = kExecutableSuffix.size();
    return name.size() >= suffix ? name.left(name.size() - suffix) : QString();
}

QString projectFolder(ProcessState& state) {
    QString folder = platform::executableFolder(state.runtime.executablePath());
    if (folder.endsWith(platform::separator()))
        return folder.left(folder.size() - 1);
    while (!folder.isEmpty() && !folder.endsWith(platform::separator()))
        folder.chop(1);
    folder.chop(1);
    return folder;
}

} // namespace kpl
