#include "core/platform/FileCalls.h"

#include "core/platform/Win32Calls.h"

namespace kpl::platform {

using win32::lastError;
using win32::nativePath;
using win32::retryWhileHeld;
using win32::unless;

namespace {

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

std::error_code openFile(const QString& path, DWORD access, DWORD share, DWORD disposition,
                         DWORD flags, FileHandle& file) {
    const std::wstring native = nativePath(path);
    HANDLE handle = INVALID_HANDLE_VALUE;
    const BOOL opened = retryWhileHeld([&] {
        handle = CreateFileW(native.c_str(), access, share, nullptr, disposition, flags, nullptr);
        return handle != INVALID_HANDLE_VALUE;
    });
    if (!opened)
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
    const std::wstring nativeFrom = nativePath(from);
    const std::wstring nativeTo = nativePath(to);
    return unless(retryWhileHeld(
        [&] {
            return MoveFileExW(nativeFrom.c_str(), nativeTo.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        },
        true));
}

std::error_code FileCalls::remove(const QString& path) {
    const std::wstring native = nativePath(path);
    return unless(retryWhileHeld([&] { return DeleteFileW(native.c_str()); }));
}

// A rename with MOVEFILE_WRITE_THROUGH is on the disk when it returns.
std::error_code FileCalls::syncFolder(const QString&) {
    return {};
}

// Opening for writing asks the file's access rights and its read-only
// attribute; a folder is asked for the right to add and remove files.
std::error_code FileCalls::writable(const QString& path) {
    const std::wstring native = nativePath(path);
    const DWORD attributes = GetFileAttributesW(native.c_str());
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
    return FileStamp{info.dwVolumeSerialNumber,
                     (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                     (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     win32::fromFileTime(info.ftLastWriteTime)};
}

} // namespace kpl::platform
