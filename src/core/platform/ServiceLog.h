#pragma once

#include <QString>

namespace kpl::platform {

// The service log: "C:\TarvoServicePack.log" on Windows,
// /var/log/TarvoServicePack.log elsewhere, or the file that KPL_SERVICE_LOG
// names in the environment the program was given.
QString serviceLogPath(const QString& environmentOverride);

// Where the service log goes on Windows when its file in C:\ cannot be
// written (a standard user may not create files there):
// TarvoServicePack.log in the folder `programData` (the value of ProgramData;
// C:\ProgramData where that is unset). Empty where there is no such place:
// elsewhere, and when KPL_SERVICE_LOG names the file.
QString serviceLogFallback(const QString& environmentOverride, const QString& programData);

} // namespace kpl::platform
