#include "core/platform/FileTimes.h"

#include "core/platform/CaseBlindPath.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace kpl::platform {

namespace {
qint64 nanoseconds(const timespec& time) {
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}
} // namespace

bool readFileTimes(const QString& path, FileTimes& times) {
    const QString found = findFile(path);
    struct stat info {};
    if (found.isEmpty() || ::stat(QFile::encodeName(found).constData(), &info) != 0)
        return false;
    times.lastWrite = nanoseconds(info.st_mtim);
    times.lastAccess = nanoseconds(info.st_atim);
    // The creation time cannot be set here: it is only noted.
    const QDateTime birth = QFileInfo(found).birthTime();
    times.creation = birth.isValid() ? birth.toMSecsSinceEpoch() * 1000000 : times.lastWrite;
    return true;
}

bool restoreFileTimes(const QString& path, const FileTimes& times) {
    const QString found = findFile(path);
    const timespec set[2] = {
        {0, UTIME_OMIT},
        {time_t(times.lastWrite / 1000000000), long(times.lastWrite % 1000000000)}};
    return !found.isEmpty() &&
           ::utimensat(AT_FDCWD, QFile::encodeName(found).constData(), set, 0) == 0;
}

} // namespace kpl::platform
