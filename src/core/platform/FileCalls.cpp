#include "core/platform/FileCalls.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kpl::platform {

#ifdef Q_OS_WIN

namespace {

std::error_code lastError() {
    return std::error_code(int(GetLastError()), std::system_category());
}

std::error_code unless(BOOL ok) {
    return ok ? std::error_code() : lastError();
}

const wchar_t* nativePath(const QString& path, std::wstring& storage) {
    storage = QDir::toNativeSeparators(path).toStdWString();
    return storage.c_str();
}

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

std::error_code openFile(const QString& path, DWORD access, DWORD share, DWORD disposition,
                         DWORD flags, FileHandle& file) {
    std::wstring native;
    const HANDLE handle =
        CreateFileW(nativePath(path, native), access, share, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return lastError();
    file = reinterpret_cast<FileHandle>(handle);
    return {};
}

// The largest piece one ReadFile or WriteFile call takes.
DWORD piece(qint64 size) {
    return DWORD(qMin<qint64>(size, 1 << 30));
}

} // namespace

std::error_code FileCalls::create(const QString& path, FileHandle& file) {
    return openFile(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, file);
}

std::error_code FileCalls::openForReading(const QString& path, FileHandle& file) {
    return openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, file);
}

std::error_code FileCalls::write(FileHandle file, const char* data, qint64 size, qint64& done) {
    DWORD written = 0;
    const BOOL ok = WriteFile(handleOf(file), data, piece(size), &written, nullptr);
    done = written;
    return unless(ok);
}

std::error_code FileCalls::read(FileHandle file, char* data, qint64 size, qint64& done) {
    DWORD got = 0;
    const BOOL ok = ReadFile(handleOf(file), data, piece(size), &got, nullptr);
    done = got;
    return unless(ok);
}

std::error_code FileCalls::sync(FileHandle file) {
    return unless(FlushFileBuffers(handleOf(file)));
}

std::error_code FileCalls::size(FileHandle file, qint64& bytes) {
    LARGE_INTEGER value{};
    const BOOL ok = GetFileSizeEx(handleOf(file), &value);
    bytes = value.QuadPart;
    return unless(ok);
}

std::error_code FileCalls::close(FileHandle file) {
    return unless(CloseHandle(handleOf(file)));
}

// New files take the permissions of their folder, as the old one did.
std::error_code FileCalls::copyPermissions(const QString&, FileHandle) {
    return {};
}

std::error_code FileCalls::rename(const QString& from, const QString& to) {
    std::wstring nativeFrom;
    std::wstring nativeTo;
    return unless(MoveFileExW(nativePath(from, nativeFrom), nativePath(to, nativeTo),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

std::error_code FileCalls::remove(const QString& path) {
    std::wstring native;
    return unless(DeleteFileW(nativePath(path, native)));
}

// A rename with MOVEFILE_WRITE_THROUGH is on the disk when it returns.
std::error_code FileCalls::syncFolder(const QString&) {
    return {};
}

// Opening for writing asks the file's access rights and its read-only
// attribute; a folder is asked for the right to add and remove files.
std::error_code FileCalls::writable(const QString& path) {
    std::wstring native;
    const DWORD attributes = GetFileAttributesW(nativePath(path, native));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    FileHandle file = 0;
    if (const std::error_code error =
            openFile(path, folder ? FILE_ADD_FILE | FILE_DELETE_CHILD : GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                     folder ? FILE_FLAG_BACKUP_SEMANTICS : FILE_ATTRIBUTE_NORMAL, file))
        return error;
    CloseHandle(handleOf(file));
    return {};
}

std::optional<FileStamp> FileCalls::stamp(const QString& path) {
    FileHandle file = 0;
    if (openFile(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, file))
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = GetFileInformationByHandle(handleOf(file), &info);
    CloseHandle(handleOf(file));
    if (!ok)
        return std::nullopt;
    // File times count 100 ns from 1601-01-01.
    constexpr qint64 kEpochOffset = 116444736000000000;
    const qint64 written =
        (qint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    return FileStamp{
        info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
        (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow, (written - kEpochOffset) * 100};
}

#else

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

#endif

FileCalls& systemFileCalls() {
    static FileCalls calls;
    return calls;
}

} // namespace kpl::platform
