#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <system_error>

namespace kpl::platform {

// An open file of the system: a descriptor, or a handle on Windows.
using FileHandle = qintptr;

// What tells one state of a file from another without reading it: which file
// it is (device and file number), its size and its last-write time.
struct FileStamp {
    quint64 device = 0;
    quint64 file = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch
    bool operator==(const FileStamp&) const = default;
};

// The system's file calls that the program's file writes are made of, one
// virtual function each, so that a test can make any single call fail the
// way a full disk, a failing sync or a refused rename makes it fail. This
// class makes the real calls; errors are the system's own codes. No call
// reports anything itself. An open, read or write that a signal interrupts
// before it has done anything is made again; a read or write that moved
// fewer bytes than asked returns that count for the caller to go on from.
class FileCalls {
public:
    FileCalls() = default;
    virtual ~FileCalls() = default;
    FileCalls(const FileCalls&) = delete;
    FileCalls& operator=(const FileCalls&) = delete;

    // Creates `path` for writing; fails when it exists already.
    virtual std::error_code create(const QString& path, FileHandle& file);
    virtual std::error_code openForReading(const QString& path, FileHandle& file);
    // Writes or reads up to `size` bytes; `done` tells how many were.
    virtual std::error_code write(FileHandle file, const char* data, qint64 size, qint64& done);
    virtual std::error_code read(FileHandle file, char* data, qint64 size, qint64& done);
    // Forces the file's content to the disk.
    virtual std::error_code sync(FileHandle file);
    virtual std::error_code size(FileHandle file, qint64& bytes);
    virtual std::error_code close(FileHandle file);
    // Gives `file` the permissions and, where the system allows it, the owner
    // of the existing file `model`.
    virtual std::error_code copyPermissions(const QString& model, FileHandle file);
    // Puts `from` in the place of `to` in one step, replacing `to`.
    virtual std::error_code rename(const QString& from, const QString& to);
    virtual std::error_code remove(const QString& path);
    // Makes the folder's entries durable; success where the system or the
    // file system has no such call.
    virtual std::error_code syncFolder(const QString& folder);
    // Whether this process may write the existing file `path`, or create,
    // rename and remove files in the existing folder `path`: the system's
    // reason when not (a missing path is not found). Changes nothing.
    virtual std::error_code writable(const QString& path);
    // The stamp of an existing file, followed through links.
    virtual std::optional<FileStamp> stamp(const QString& path);
};

// The real calls, for everything but tests.
FileCalls& systemFileCalls();

} // namespace kpl::platform
