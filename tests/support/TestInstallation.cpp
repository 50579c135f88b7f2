#include "TestInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kpl::test {

TestInstallation::TestInstallation(const QString& component) : m_component(component) {
    QDir(m_dir.path()).mkpath(component);
}

// The paths are given as the program composes and shows them, with the
// system's own separator: a Windows command line ends a value at "/".
QString TestInstallation::root() const {
    return QDir::toNativeSeparators(m_dir.path());
}
QString TestInstallation::componentFolder() const {
    return path(m_component);
}
QString TestInstallation::executablePath() const {
    return QDir::toNativeSeparators(componentFolder() + '/' + m_component +
                                    QStringLiteral("_Config"));
}
QString TestInstallation::path(const QString& relative) const {
    return QDir::toNativeSeparators(root() + '/' + relative);
}

void TestInstallation::write(const QString& relative, const QByteArray& content) const {
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(full));
    file.write(content);
}

QByteArray TestInstallation::read(const QString& relative) const {
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TestInstallation::exists(const QString& relative) const {
    return QFileInfo::exists(path(relative));
}

std::unique_ptr<ScriptedRuntime> TestInstallation::runtime(const QString& commandLine) const {
    return std::make_unique<ScriptedRuntime>(
        executablePath(), commandLine,
        QStringList{QStringLiteral("USERNAME=tech"),
                    QStringLiteral("KPL_SERVICE_LOG=") + serviceLog()});
}

} // namespace kpl::test
