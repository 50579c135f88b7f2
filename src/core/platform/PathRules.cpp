#include "core/platform/PathRules.h"

#include "core/platform/CaseBlindPath.h"
#include "core/platform/TargetSystem.h"

#include <QDir>

namespace kpl::platform {

QChar separator() {
    return QDir::separator();
}

bool caseSensitiveFileNames() {
    return !kWindows;
}

QString shownPath(const QString& path) {
    return caseSensitiveFileNames() ? resolveForWrite(path) : path.toUpper();
}

std::optional<qsizetype> commandValueEnd(const QString& rest) {
    const qsizetype end =
        kWindows ? rest.indexOf(QLatin1Char('/')) : rest.indexOf(QLatin1String(" /"));
    if (end < 0)
        return std::nullopt;
    return end;
}

} // namespace kpl::platform
