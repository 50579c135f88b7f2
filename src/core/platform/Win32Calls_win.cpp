#include "core/platform/Win32Calls.h"

#include <QDir>

namespace kpl::platform::win32 {

namespace {
// FILETIME counts 100 ns from 1601-01-01.
constexpr qint64 kFileTimeEpochOffset = 116444736000000000LL;
// The longest path the calls take without the prefix, its terminating zero
// and, for a folder, room for an 8.3 name.
constexpr qsizetype kClassicLimit = MAX_PATH - 12;
} // namespace

std::wstring nativePath(const QString& path) {
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() < kClassicLimit || native.startsWith(QLatin1String("\\\\?\\")) ||
        !QDir::isAbsolutePath(path))
        return native.toStdWString();
    const QString clean = QDir::toNativeSeparators(QDir::cleanPath(path));
    if (clean.startsWith(QLatin1String("\\\\")))
        return (QLatin1String("\\\\?\\UNC\\") + clean.mid(2)).toStdWString();
    return (QLatin1String("\\\\?\\") + clean).toStdWString();
}

std::error_code lastError() {
    return std::error_code(int(GetLastError()), std::system_category());
}

qint64 fromFileTime(const FILETIME& time) {
    const qint64 ticks = (qint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (ticks - kFileTimeEpochOffset) * 100;
}

FILETIME toFileTime(qint64 nanoseconds) {
    const quint64 ticks = quint64(nanoseconds / 100 + kFileTimeEpochOffset);
    return FILETIME{DWORD(ticks & 0xFFFFFFFFu), DWORD(ticks >> 32)};
}

} // namespace kpl::platform::win32
