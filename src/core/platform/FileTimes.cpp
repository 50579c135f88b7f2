#include "core/platform/FileTimes.h"

#include "core/platform/CaseBlindPath.h"

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>
#else
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace kpl::platform {

#ifdef Q_OS_WIN

namespace {
// FILETIME counts 100 ns from 1601-01-01; FileTimes nanoseconds from 1970.
constexpr qint64 kFileTimeEpochOffset = 116444736000000000LL;

qint64 fromFileTime(const FILETIME& time) {
    const qint64 ticks = (qint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (ticks - kFileTimeEpochOffset) * 100;
}

FILETIME toFileTime(qint64 nanoseconds) {
    const quint64 ticks = quint64(nanoseconds / 100 + kFileTimeEpochOffset);
    return FILETIME{DWORD(ticks & 0xFFFFFFFFu), DWORD(ticks >> 32)};
}

HANDLE openForTimes(const QString& path, DWORD access) {
    return CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
} // namespace

bool readFileTimes(const QString& path, FileTimes& times) {
    const HANDLE file = openForTimes(QDir::toNativeSeparators(findFile(path)), GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME creation{}, access{}, write{};
    const bool ok = GetFileTime(file, &creation, &access, &write);
    CloseHandle(file);
    if (ok)
        times = {fromFileTime(creation), fromFileTime(access), fromFileTime(write)};
    return ok;
}

bool restoreFileTimes(const QString& path, const FileTimes& times) {
    const HANDLE file =
        openForTimes(QDir::toNativeSeparators(findFile(path)), FILE_WRITE_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const FILETIME creation = toFileTime(times.creation);
    const FILETIME write = toFileTime(times.lastWrite);
    const bool ok = SetFileTime(file, &creation, nullptr, &write);
    CloseHandle(file);
    return ok;
}

#else

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

#endif

} // namespace kpl::platform
