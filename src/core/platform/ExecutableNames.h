#pragma once

#include <QString>

namespace kpl::platform {

// The names taken from the path the program was started by (see StartPath.h),
// symbolic links kept.

// The executable's name without folder and extension.
QString executableName(const QString& executablePath);
// The program file's own name as it stands in the folder.
QString executableFileName(const QString& executablePath);
// The folder that holds the executable, without trailing separator.
QString executableFolder(const QString& executablePath);

} // namespace kpl::platform
