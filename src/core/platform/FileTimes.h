#pragma once

#include <QString>

namespace kpl::platform {

// Creation, last access and last write time of a file, to the precision the
// file system keeps (100 ns on Windows, 1 ns on Linux). Where the system
// cannot set a creation time, only the last-write time is restored.
struct FileTimes {
    qint64 creation = 0; // nanoseconds since 1970-01-01 UTC; 0 = unknown
    qint64 lastAccess = 0;
    qint64 lastWrite = 0;
    bool isZero() const { return creation == 0 && lastAccess == 0 && lastWrite == 0; }
};
bool readFileTimes(const QString& path, FileTimes& times);
// Sets creation (where possible) and last-write time; the last-access time
// is left as it is.
bool restoreFileTimes(const QString& path, const FileTimes& times);

} // namespace kpl::platform
