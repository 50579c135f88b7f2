#include "TestSystem.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace kpl::test {

QString programFileName(const QString& name) {
    return name;
}

std::optional<QString> mountSmallDisk(const QString& folder, const char* size) {
    const QByteArray options = QByteArray("size=") + size;
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) ==
        0)
        return std::nullopt;
    return QStringLiteral("a tmpfs cannot be mounted here (%1)")
        .arg(QString::fromLocal8Bit(std::strerror(errno)));
}

void unmountSmallDisk(const QString& folder) {
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
}

bool runsAsRoot() {
    return ::geteuid() == 0;
}

void runAsUser(QProcess& process, uint user) {
    process.setChildProcessModifier([user] {
        if (::setgid(user) != 0 || ::setuid(user) != 0)
            ::_exit(126);
    });
}

} // namespace kpl::test
