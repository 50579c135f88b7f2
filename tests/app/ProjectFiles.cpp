#include "ProjectFiles.h"

#include "core/ProcessState.h"
#include "settings/Ini.h"

#include <QFile>

namespace kpl::test {

void writeProjectFiles(const TestInstallation& install) {
    const QByteArray restore = install.path(QStringLiteral("Restore/")).toUtf8();
    install.write(QStringLiteral("parameter/n4rconfiguration.ini"),
                  "[Common]\r\nSaveAndRestore=" + restore + "\r\nNameM1=M1\r\nNameM2=-\r\n");
    install.write(QStringLiteral("parameter/Program.ini"),
                  "[Project]\r\nNumberOfMachines=1\r\nManualDowntimeReasons=true\r\n"
                  "ManualDowntimeTimerActiv=false\r\nManualDowntimeTimer=120\r\n"
                  "[Machine1]\r\nMachineName=M1\r\n");
    install.write(QStringLiteral("Restore/parameter/program.ini"),
                  "[Project]\r\nManualDowntimeReasons=false\r\nManualDowntimeTimerActiv=true\r\n"
                  "ManualDowntimeTimer=300\r\n");
    install.write(install.component() + '/' + install.component() + QStringLiteral(".cfg"),
                  "[Project]\r\nValidMachines=ALL\r\n\r\n[Info]\r\nS_Prog=1.0.1 - Standalone\r\n");
}

void copyProgram(const QString& program, const TestInstallation& install) {
    if (!QFile::copy(program, install.executablePath()))
        qFatal("cannot copy %s", qPrintable(program));
}

QString iniEntry(const QString& path, const QString& section, const QString& key) {
    ScriptedRuntime reader(QStringLiteral("/nowhere/Reader_Config"));
    ProcessState readerState(reader);
    return LoadIniString(readerState, section, key, path, false);
}

} // namespace kpl::test
