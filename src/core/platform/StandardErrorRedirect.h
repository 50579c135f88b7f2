#pragma once

#include <QString>

namespace kpl::platform {

// While it lives, what the process writes to its standard error stream, by
// any library, is appended to the file `path` instead of going where it
// went before. Not for use by two threads at once.
class StandardErrorRedirect {
public:
    explicit StandardErrorRedirect(const QString& path);
    ~StandardErrorRedirect();
    StandardErrorRedirect(const StandardErrorRedirect&) = delete;
    StandardErrorRedirect& operator=(const StandardErrorRedirect&) = delete;

    // False when the stream could not be redirected.
    bool isActive() const { return m_saved >= 0; }

private:
    int m_saved = -1; // the stream as it was
};

} // namespace kpl::platform
