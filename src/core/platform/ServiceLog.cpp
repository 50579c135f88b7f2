#include "core/platform/ServiceLog.h"

#include "core/platform/TargetSystem.h"

namespace kpl::platform {

QString serviceLogPath(const QString& environmentOverride) {
    if (!environmentOverride.isEmpty())
        return environmentOverride;
    return kWindows ? QStringLiteral("C:\\TarvoServicePack.log")
                    : QStringLiteral("/var/log/TarvoServicePack.log");
}

} // namespace kpl::platform
