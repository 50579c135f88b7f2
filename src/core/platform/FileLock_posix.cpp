#include "core/platform/FileLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kpl::platform {

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

} // namespace kpl::platform
