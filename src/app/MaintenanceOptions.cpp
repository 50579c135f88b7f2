#include "app/MaintenanceOptions.h"

#include "Version.h"
#include "app/CoreRuntime.h"
#include "app/StartInfo.h"
#include "core/ExitCode.h"
#include "core/platform/PathRules.h"
#include "core/platform/ServiceLog.h"
#include "jetimport/ImportCommand.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

namespace kpl {

namespace {

// How a keyword's value ends on this system: where "/" separates path
// components, only a "/" after a blank starts the next keyword.
const char* valueEndRule() {
    return platform::commandValueEnd(QStringLiteral("a/b"))
               ? "a value ends at the next \"/\""
               : "a value ends at the next \" /\", so a path may hold \"/\"";
}

// Where the service log goes when its own place cannot be written, as a line
// of the help; none where there is no such place.
QString serviceLogFallbackLine() {
    const QString fallback =
        platform::serviceLogFallback(QString(), QStringLiteral("%ProgramData%"));
    return fallback.isEmpty() ? QString()
                              : QStringLiteral("  ") + fallback +
                                    QStringLiteral("\n      the service log where C:\\ cannot be written\n");
}

// The help's layout is read by the build to write the manual page: a
// heading at the margin ends in ":", an entry is indented by two blanks with
// its text after two blanks or on the lines below, indented further.
void printUsage(const QString& name, QTextStream& out) {
    out << "Usage: " << name << " [/EXTERNAL N4RCFG | /EXTERNAL SILENT] [/LOGFILE path]\n"
        << "       " << name << " --import-jet [FILE.mdb OUT.mdb]\n"
        << "       " << name << " --help | --version\n";
}

int printHelp(int argc, char** argv, QTextStream& out) {
    const QString name = programName(argc, argv);
    const QString serviceLog = platform::serviceLogPath(QString());
    printUsage(name, out);
    out << "\n"
           "Sets the presets of the manual-downtime function of the component this program\n"
           "is named after (KPL_Presets_Config configures KPL_Presets) and regenerates the\n"
           "component's preset definitions. Each component folder of a project holds the\n"
           "program or a link to it, named after the component plus _Config.\n"
           "\n"
           "Keywords (any letter case; "
        << valueEndRule()
        << "):\n"
           "  /EXTERNAL N4RCFG   integrated start by the host configuration program\n"
           "  /EXTERNAL SILENT   silent start: no window, the confirmation runs at once\n"
           "  /LOGFILE path      the error log of an integrated start\n"
           "Without /EXTERNAL the program starts standalone.\n"
           "\n"
           "Options:\n"
           "  --import-jet       converts the installation's databases that still come from\n"
           "                     the old engine (Jet .mdb files) in place, keeping each as\n"
           "                     NAME.mdb.jet\n"
           "  --import-jet FILE.mdb OUT.mdb\n"
           "                     converts FILE.mdb into the new file OUT.mdb\n"
           "  --help             prints the usage, keywords, options, files and exit codes\n"
           "  --version          prints the program's version\n"
           "\n"
           "Files, found from the program's own folder <project>/<component>:\n"
           "  <project>/parameter/n4rconfiguration.ini\n"
           "      host configuration: restore folder, machine names\n"
           "  <project>/parameter/Program.ini\n"
           "      the presets (section [Project]) and machines; an integrated start reads\n"
           "      them from <restore>/parameter/program.ini\n"
           "  <project>/<component>/<component>.cfg\n"
           "      component settings and the edit record (section [Info])\n"
           "  <project>/<component>/<component>_Source.mdb\n"
           "      the templates; PRESET_DEFS is rebuilt here\n"
           "  <project>/<component>/<component>.mdb\n"
           "      project database, replaced by the rebuilt source database\n"
           "  <project>/<component>/<component>.mdb.bak\n"
           "      the project database as it was before the run that last replaced it\n"
           "  <restore>/<component>/<component>.mdb\n"
           "      the machine copy, put in the project database's place by an integrated\n"
           "      start\n"
           "  <program folder>/<program name>.ini\n"
           "      language file: captions, tooltips, help texts\n"
           "  <program folder>/<program name>.lock\n"
           "      the installation's lock: one run at a time\n"
           "  <program folder>/<program name>.dialog.lock\n"
           "      held while a dialog of the installation is open: one dialog at a time\n"
           "  <project>/N4Rcfglog.txt\n"
           "      error log of standalone and silent starts\n"
           "  "
        << serviceLog
        << "\n"
           "      service log: the faults of silent starts, where no one can be asked\n"
        << serviceLogFallbackLine() << "\n"
           "Environment:\n"
           "  KPL_SERVICE_LOG    names the service log's file in place of\n"
           "                     "
        << serviceLog
        << "\n"
           "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM\n"
           "                     the display the dialog opens on; a silent start needs none\n"
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
        << "  the dialog was cancelled and nothing was written but the cancel's line in\n"
           "     the error log (2 when a failure was reported before)\n";
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

// A mistyped option ("--silent") must not open the dialog: a host that
// meant a silent start would wait behind a window. The host's keywords never
// begin with "--".
std::optional<int> refuseUnknownOption(int argc, char** argv) {
    const QStringList arguments = programArguments(argc, argv);
    for (const QString& argument : arguments) {
        const bool known = std::any_of(kOptions.begin(), kOptions.end(), [&](const auto& option) {
            return argument == QLatin1String(option.name);
        });
        if (argument.startsWith(QLatin1String("--")) && !known) {
            QTextStream err(stderr);
            const QString name = programName(argc, argv);
            err << name << ": unknown option " << argument << "\n";
            printUsage(name, err);
            return int(ExitCode::Ended);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<int> runMaintenanceOption(int argc, char** argv, QTextStream& out) {
    if (const std::optional<int> refused = refuseUnknownOption(argc, argv))
        return refused;
    const QStringList arguments = programArguments(argc, argv);
    for (const MaintenanceOption& option : kOptions) {
        if (arguments.contains(QLatin1String(option.name)))
            return option.run(argc, argv, out);
    }
    return std::nullopt;
}

} // namespace kpl
