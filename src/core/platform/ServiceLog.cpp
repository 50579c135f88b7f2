#include "core/platform/ServiceLog.h"

#include "core/platform/TargetSystem.h"

namespace kpl::platform {

namespace {
const QString kFileName = QStringLiteral("TarvoServicePack.log");
}

QString serviceLogPath(const QString& environmentOverride) {
    if (!environmentOverride.isEmpty())
        return environmentOverride;
    return kWindows ? QStringLiteral("C:\\") + kFileName : QStringLiteral("/var/log/") + kFileName;
}

QString serviceLogFallback(const QString& environmentOverride, const QString& programData) {
    if (!kWindows || !environmentOverride.isEmpty())
        return {};
    const QString folder = programData.isEmpty() ? QStringLiteral("C:\\ProgramData") : programData;
    return folder + QLatin1Char('\\') + kFileName;
}

} // namespace kpl::platform
