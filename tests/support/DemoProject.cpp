#include "DemoProject.h"

#include <QFile>
#include <QProcess>

namespace kpl::test {

DemoProject::DemoProject() {
    QProcess make;
    make.start(QStringLiteral("bash"), {QStringLiteral(KPL_SOURCE_DIR "/scripts/make-demo-project"),
                                        m_root, QStringLiteral("/nonexistent")});
    m_valid = make.waitForFinished(60000) && make.exitCode() == 0;
}

std::unique_ptr<ScriptedRuntime> DemoProject::runtime(const QString& commandLine) const {
    return std::make_unique<ScriptedRuntime>(
        path("KPL_Presets/KPL_Presets_Config"), commandLine,
        QStringList{QStringLiteral("USERNAME=tech"),
                    QStringLiteral("KPL_SERVICE_LOG=") + path("service.log")});
}

void DemoProject::sql(const QString& database, const QString& script) const {
    query(database, script);
}

QByteArray DemoProject::query(const QString& database, const QString& script) const {
    QProcess tool;
    tool.start(QStringLiteral("sqlite3"), {database});
    tool.write(script.toUtf8());
    tool.closeWriteChannel();
    tool.waitForFinished(60000);
    if (tool.exitCode() != 0)
        qFatal("sqlite3 failed: %s", tool.readAllStandardError().constData());
    return tool.readAllStandardOutput();
}

void DemoProject::write(const QString& relative, const QByteArray& content) const {
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(relative));
    file.write(content);
}

QByteArray DemoProject::read(const QString& file) const {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace kpl::test
