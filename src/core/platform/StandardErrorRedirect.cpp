#include "core/platform/StandardErrorRedirect.h"

#include <QFile>

#include <cstdio>
#include <fcntl.h>

#ifdef Q_OS_WIN
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace kpl::platform {

namespace {

#ifdef Q_OS_WIN
int openForAppending(const QString& path) {
    return _wopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                  _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int duplicate(int handle) {
    return _dup(handle);
}
int duplicateOnto(int handle, int target) {
    return _dup2(handle, target);
}
void closeHandle(int handle) {
    _close(handle);
}
#else
int openForAppending(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                  0600);
}
int duplicate(int handle) {
    return ::dup(handle);
}
int duplicateOnto(int handle, int target) {
    return ::dup2(handle, target);
}
void closeHandle(int handle) {
    ::close(handle);
}
#endif

} // namespace

StandardErrorRedirect::StandardErrorRedirect(const QString& path) {
    const int file = openForAppending(path);
    if (file < 0)
        return;
    std::fflush(stderr);
    const int stream = fileno(stderr);
    m_saved = duplicate(stream);
    if (m_saved >= 0 && duplicateOnto(file, stream) < 0) {
        closeHandle(m_saved);
        m_saved = -1;
    }
    closeHandle(file);
}

StandardErrorRedirect::~StandardErrorRedirect() {
    if (m_saved < 0)
        return;
    std::fflush(stderr);
    duplicateOnto(m_saved, fileno(stderr));
    closeHandle(m_saved);
}

} // namespace kpl::platform
