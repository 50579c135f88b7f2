#include "core/platform/PathRules.h"

#include "core/platform/TargetSystem.h"

#include <QDir>

namespace kpl::platform {

QChar separator() {
    return QDir::separator();
}

bool caseSensitiveFileNames() {
    return !kWindows;
}

qsizetype commandValueEnd(const QString& rest) {
    if (kWindows)
        return rest.indexOf(QLatin1Char('/'));
    return rest.indexOf(QLatin1String(" /"));
}

} // namespace kpl::platform
