#include "core/platform/FileLock.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kpl::platform {

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        m_file = std::exchange(other.m_file, std::nullopt);
    }
    return *this;
}

#ifdef Q_OS_WIN

FileLock::Attempt FileLock::tryLock(const QString& path) {
    release();
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    HANDLE handle = CreateFileW(native.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        handle = CreateFileW(native.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

#else

FileLock::Attempt FileLock::tryLock(const QString& path) {
    release();
    const QByteArray native = QFile::encodeName(path);
    int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // A lock file that exists in a folder this user may not write to still
    // locks when opened for reading.
    if (fd < 0)
        fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Attempt::Unavailable;
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Attempt::Busy : Attempt::Unavailable;
    }
    m_file = fd;
    return Attempt::Locked;
}

void FileLock::release() {
    if (m_file)
        ::close(int(*m_file)); // closing the last descriptor unlocks
    m_file.reset();
}

#endif

} // namespace kpl::platform
