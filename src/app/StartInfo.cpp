#include "app/StartInfo.h"

#include "core/platform/StartPath.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcessEnvironment>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kpl {

QString programName(int argc, char** argv) {
    if (argc < 1)
        return QStringLiteral("KPL_Presets_Config");
    return QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
}

QStringList programArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

QString rawCommandLine(int argc, char** argv) {
    return programArguments(argc, argv).join(QLatin1Char(' '));
}

QStringList processEnvironment() {
#ifdef Q_OS_UNIX
    QStringList entries;
    for (char** entry = environ; entry && *entry; ++entry)
        entries.append(QString::fromLocal8Bit(*entry));
    return entries;
#else
    return QProcessEnvironment::systemEnvironment().toStringList();
#endif
}

QString runningExecutablePath() {
    return platform::startedExecutablePath(QCoreApplication::arguments().value(0),
                                           platform::workingDirectory(qEnvironmentVariable("PWD")),
                                           qEnvironmentVariable("PATH"),
                                           QCoreApplication::applicationFilePath());
}

} // namespace kpl
