#include "core/platform/FileLock.h"

// The locking itself is FileLock_posix.cpp and FileLock_win.cpp.
namespace kpl::platform {

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        m_file = std::exchange(other.m_file, std::nullopt);
    }
    return *this;
}

} // namespace kpl::platform
