#include "TestSystem.h"

namespace kpl::test {

QString programFileName(const QString& name) {
    return name + QStringLiteral(".exe");
}

std::optional<QString> mountSmallDisk(const QString&, const char*) {
    return QStringLiteral("Windows mounts no small file system for a test");
}

void unmountSmallDisk(const QString&) {}

// Files are handed to other users through access lists here, which the tests
// do not set up.
bool runsAsRoot() {
    return false;
}

void runAsUser(QProcess&, uint) {}

} // namespace kpl::test
