#include "app/MaintenanceOptions.h"

#include "Version.h"
#include "app/CoreRuntime.h"
#include "app/StartInfo.h"
#include "core/ExitCode.h"
#include "core/Platform.h"
#include "jetimport/ImportCommand.h"

#include <QCoreApplication>
#include <array>

namespace kpl {

namespace {

// How a keyword's value ends on this system: where "/" separates path
// components, only a "/" after a blank starts the next keyword.
const char* valueEndRule() {
    return platform::commandValueEnd(QStringLiteral("a/b")) >= 0
               ? "a value ends at the next \"/\""
               : "a value ends at the next \" /\", so a path may hold \"/\"";
}

int printHelp(int argc, char** argv, QTextStream& out) {
    const QString name = programName(argc, argv);
    out << "Usage: " << name << " [/EXTERNAL N4RCFG | /EXTERNAL SILENT] [/LOGFILE path]\n"
        << "       " << name << " --import-jet [FILE.mdb OUT.mdb]\n"
        << "       " << name << " --help | --version\n"
        << "\n"
           "Sets the presets of the manual-downtime function of the component this program\n"
           "is named after (KPL_Presets_Config configures KPL_Presets) and regenerates the\n"
           "component's preset definitions.\n"
           "\n"
           "Keywords (any letter case; "
        << valueEndRule()
        << "):\n"
           "  EXTERNAL N4RCFG   integrated start by the host configuration program\n"
           "  EXTERNAL SILENT   silent start: no window, the confirmation runs at once\n"
           "  LOGFILE path      the error log of an integrated start\n"
           "Without EXTERNAL the program starts standalone.\n"
           "\n"
           "Files, found from the program's own folder <project>/<component>:\n"
           "  <project>/parameter/n4rconfiguration.ini   host configuration, restore folder\n"
           "  <project>/parameter/Program.ini            the presets, section [Project]\n"
           "  <project>/<component>/<component>.cfg      component configuration, edit record\n"
           "  <project>/<component>/<component>_Source.mdb and <component>.mdb\n"
           "                                             preset definitions\n"
           "  <program folder>/<program name>.ini        captions, tooltips, help texts\n"
           "  <project>/N4Rcfglog.txt                    error log (standalone and silent)\n"
           "  <program folder>/<program name>.lock       one run at a time per installation\n"
           "  <program folder>/<program name>.dialog.lock\n"
           "                                             one open dialog per installation\n"
           "\n"
           "--import-jet converts the installation's databases that still come from the\n"
           "old engine (Jet .mdb files) in place, keeping each as NAME.mdb.jet; with two\n"
           "files it converts FILE.mdb into the new file OUT.mdb.\n"
           "\n"
           "Exit codes:\n"
        << "  " << int(ExitCode::Normal) << "  the dialog was left normally, no failure reported\n"
        << "  " << int(ExitCode::Ended)
        << "  ended by the error handler, a fatal check, a missing configuration file\n"
           "     (a start outside a component folder of a project), another open dialog of\n"
           "     the installation, or another run of it that did not end within 30 s\n"
        << "  " << int(ExitCode::EndedAfterFailures)
        << "  ran to its end, but failures were reported on the way\n"
        << "  " << int(ExitCode::Cancelled)
        << "  the dialog was cancelled and nothing was written (2 when a failure was\n"
           "     reported before)\n";
    return int(ExitCode::Normal);
}

int printVersion(int, char**, QTextStream& out) {
    out << "KPL_Presets_Config " << version::kText << "\n";
    return int(ExitCode::Normal);
}

int importJet(int argc, char** argv, QTextStream& out) {
    const QStringList arguments = programArguments(argc, argv);
    // The application object tells the program's own location; the
    // installation's databases are found from there.
    QCoreApplication app(argc, argv);
    CoreRuntime runtime(runningExecutablePath(), arguments.join(QLatin1Char(' ')),
                        processEnvironment());
    QTextStream err(stderr);
    return runJetImport(arguments, out, err, runtime);
}

struct MaintenanceOption {
    const char* name;
    // Gets the program's own argc and argv, for options that take values or
    // find the installation from the program's path.
    int (*run)(int argc, char** argv, QTextStream& out);
};

constexpr std::array kOptions{
    MaintenanceOption{"--help", printHelp},
    MaintenanceOption{"--version", printVersion},
    MaintenanceOption{"--import-jet", importJet},
};

} // namespace

std::optional<int> runMaintenanceOption(int argc, char** argv, QTextStream& out) {
    const QStringList arguments = programArguments(argc, argv);
    for (const MaintenanceOption& option : kOptions) {
        if (arguments.contains(QLatin1String(option.name)))
            return option.run(argc, argv, out);
    }
    return std::nullopt;
}

} // namespace kpl
