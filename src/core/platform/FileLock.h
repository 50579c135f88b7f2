#pragma once

#include "core/platform/FileCalls.h"

#include <QString>

#include <optional>
#include <utility>

namespace kpl::platform {

// An advisory, exclusive lock on a lock file, held until the object is
// destroyed or the process ends, however it ends. Only processes that ask
// for the same lock are held back; the file itself stays as it is.
class FileLock {
public:
    enum class Attempt {
        Locked,     // held now
        Busy,       // another holder has it
        Unavailable // the lock file can neither be created nor opened
    };

    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(FileLock&& other) noexcept : m_file(std::exchange(other.m_file, std::nullopt)) {}
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // One attempt, without waiting; the lock file is created when missing.
    Attempt tryLock(const QString& path);
    void release();

private:
    std::optional<FileHandle> m_file;
};

} // namespace kpl::platform
