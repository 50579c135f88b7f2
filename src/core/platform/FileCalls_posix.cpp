#include "core/platform/FileCalls.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kpl::platform {

namespace {

std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

std::error_code unless(bool ok) {
    return ok ? std::error_code() : lastError();
}

int descriptor(FileHandle file) {
    return int(file);
}

std::error_code openFile(const QString& path, int flags, FileHandle& file) {
    int fd = -1;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return lastError();
    file = fd;
    return {};
}

// Repeats a read or write that a signal interrupted before it moved a byte.
template <class Call> std::error_code transfer(Call&& call, qint64& done) {
    ssize_t moved = -1;
    do {
        moved = call();
    } while (moved < 0 && errno == EINTR);
    done = moved < 0 ? 0 : qint64(moved);
    return unless(moved >= 0);
}

} // namespace

std::error_code FileCalls::create(const QString& path, FileHandle& file) {
    return openFile(path, O_WRONLY | O_CREAT | O_EXCL, file);
}

std::error_code FileCalls::openForReading(const QString& path, FileHandle& file) {
    return openFile(path, O_RDONLY, file);
}

std::error_code FileCalls::write(FileHandle file, const char* data, qint64 size, qint64& done) {
    return transfer([&] { return ::write(descriptor(file), data, size_t(size)); }, done);
}

std::error_code FileCalls::read(FileHandle file, char* data, qint64 size, qint64& done) {
    return transfer([&] { return ::read(descriptor(file), data, size_t(size)); }, done);
}

std::error_code FileCalls::sync(FileHandle file) {
    return unless(::fsync(descriptor(file)) == 0);
}

std::error_code FileCalls::size(FileHandle file, qint64& bytes) {
    struct stat info {};
    const bool ok = ::fstat(descriptor(file), &info) == 0;
    bytes = ok ? qint64(info.st_size) : 0;
    return unless(ok);
}

// The descriptor is released even when close reports an interruption, so
// that is no failure; any other error of close may mean lost data.
std::error_code FileCalls::close(FileHandle file) {
    return unless(::close(descriptor(file)) == 0 || errno == EINTR);
}

// The owner is taken over where the writer may give the file away (when it
// runs with the rights to); otherwise the new file belongs to the writer, as
// any file it creates does.
std::error_code FileCalls::copyPermissions(const QString& model, FileHandle file) {
    struct stat info {};
    if (::stat(QFile::encodeName(model).constData(), &info) != 0)
        return lastError();
    [[maybe_unused]] const int givenAway = ::fchown(descriptor(file), info.st_uid, info.st_gid);
    return unless(::fchmod(descriptor(file), info.st_mode & 07777) == 0);
}

std::error_code FileCalls::rename(const QString& from, const QString& to) {
    return unless(
        ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0);
}

std::error_code FileCalls::remove(const QString& path) {
    return unless(::unlink(QFile::encodeName(path).constData()) == 0);
}

std::error_code FileCalls::syncFolder(const QString& folder) {
    FileHandle handle = -1;
    if (const std::error_code error = openFile(folder, O_RDONLY | O_DIRECTORY, handle))
        return error;
    const int fd = descriptor(handle);
    // Some file systems cannot sync a folder and say so; that is no failure.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    const std::error_code error = lastError();
    ::close(fd);
    return ok ? std::error_code() : error;
}

// Asked as the system asks it for this process's user: permissions, access
// lists and a file system mounted read-only.
std::error_code FileCalls::writable(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        return lastError();
    const int mode = S_ISDIR(info.st_mode) ? W_OK | X_OK : W_OK;
    return unless(::access(native.constData(), mode) == 0);
}

std::optional<FileStamp> FileCalls::stamp(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileStamp{quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
                     qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

} // namespace kpl::platform
