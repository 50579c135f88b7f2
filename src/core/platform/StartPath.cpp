#include "core/platform/StartPath.h"

#include "core/platform/TargetSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kpl::platform {

namespace {

bool hasDotComponent(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    return parts.contains(QStringLiteral(".")) || parts.contains(QStringLiteral(".."));
}

bool sameFile(const QString& a, const QString& b) {
    const QString real = QFileInfo(a).canonicalFilePath();
    return !real.isEmpty() && real == QFileInfo(b).canonicalFilePath();
}

// The command `name` as the shell finds it: the first executable file of
// that name in the folders of `searchPath`; an empty entry stands for the
// working directory.
QString findCommand(const QString& name, const QDir& workingDirectory, const QString& searchPath) {
    for (const QString& folder : searchPath.split(QLatin1Char(':'))) {
        const QDir dir(folder.isEmpty() ? workingDirectory
                                        : QDir(workingDirectory.absoluteFilePath(folder)));
        const QFileInfo candidate(dir.absoluteFilePath(name));
        if (candidate.isFile() && candidate.isExecutable())
            return candidate.filePath();
    }
    return {};
}

} // namespace

QString workingDirectory(const QString& shellPwd) {
    const QString current = QDir::currentPath();
    if (kWindows || !QDir::isAbsolutePath(shellPwd) || hasDotComponent(shellPwd) ||
        !sameFile(shellPwd, current))
        return current;
    return QDir::cleanPath(shellPwd);
}

QString startedExecutablePath(const QString& startPath, const QString& workingDirectory,
                              const QString& searchPath, const QString& runningFile) {
    if (kWindows || startPath.isEmpty())
        return runningFile;
    const QDir base(workingDirectory);
    const QString started = startPath.contains(QLatin1Char('/'))
                                ? base.absoluteFilePath(startPath)
                                : findCommand(startPath, base, searchPath);
    const QString clean = QDir::cleanPath(started);
    return sameFile(clean, runningFile) ? clean : runningFile;
}

} // namespace kpl::platform
