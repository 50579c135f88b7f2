#include "core/platform/FileTimes.h"

#include "core/platform/CaseBlindPath.h"
#include "core/platform/Win32Calls.h"

namespace kpl::platform {

namespace {
HANDLE openForTimes(const QString& path, DWORD access) {
    const std::wstring native = win32::nativePath(findFile(path));
    return CreateFileW(native.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
} // namespace

bool readFileTimes(const QString& path, FileTimes& times) {
    const HANDLE file = openForTimes(path, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME creation{}, access{}, write{};
    const bool ok = GetFileTime(file, &creation, &access, &write);
    CloseHandle(file);
    if (ok)
        times = {win32::fromFileTime(creation), win32::fromFileTime(access),
                 win32::fromFileTime(write)};
    return ok;
}

bool restoreFileTimes(const QString& path, const FileTimes& times) {
    const HANDLE file = openForTimes(path, FILE_WRITE_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const FILETIME creation = win32::toFileTime(times.creation);
    const FILETIME write = win32::toFileTime(times.lastWrite);
    const bool ok = SetFileTime(file, &creation, nullptr, &write);
    CloseHandle(file);
    return ok;
}

} // namespace kpl::platform
