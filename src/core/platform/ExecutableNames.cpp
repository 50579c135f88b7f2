#include "core/platform/ExecutableNames.h"

#include "core/platform/TargetSystem.h"

#include <QDir>
#include <QFileInfo>

namespace kpl::platform {

QString executableName(const QString& executablePath) {
    const QString file = executableFileName(executablePath);
    if (kWindows && file.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return file.left(file.size() - 4);
    return file;
}

QString executableFileName(const QString& executablePath) {
    return QFileInfo(executablePath).fileName();
}

QString executableFolder(const QString& executablePath) {
    return QDir::toNativeSeparators(QFileInfo(executablePath).absolutePath());
}

} // namespace kpl::platform
