#include "core/platform/FileLock.h"

#include "core/platform/Win32Calls.h"

namespace kpl::platform {

FileLock::Attempt FileLock::tryLock(const QString& path) {
    release();
    const std::wstring native = win32::nativePath(path);
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = CreateFileW(native.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    // A lock file that exists in a folder this user may not write to still
    // locks when opened for reading.
    if (handle == INVALID_HANDLE_VALUE)
        handle = CreateFileW(native.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return Attempt::Unavailable;
    OVERLAPPED whole{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                    MAXDWORD, &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return error == ERROR_LOCK_VIOLATION ? Attempt::Busy : Attempt::Unavailable;
    }
    m_file = reinterpret_cast<FileHandle>(handle);
    return Attempt::Locked;
}

void FileLock::release() {
    if (m_file)
        CloseHandle(reinterpret_cast<HANDLE>(*m_file)); // closing the handle unlocks
    m_file.reset();
}

} // namespace kpl::platform
