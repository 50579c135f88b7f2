#pragma once

#include <QString>

namespace kpl::platform {

// The service log: "C:\TarvoServicePack.log" on Windows,
// /var/log/TarvoServicePack.log elsewhere, or the file that KPL_SERVICE_LOG
// names in the environment the program was given.
QString serviceLogPath(const QString& environmentOverride);

} // namespace kpl::platform
