#include "jetimport/ImportCommand.h"

#include "core/ExitCode.h"
#include "core/Failure.h"
#include "core/ProcessState.h"
#include "jetimport/FileKind.h"
#include "jetimport/ImportReport.h"
#include "jetimport/InPlaceImport.h"
#include "jetimport/InstallationImport.h"
#include "settings/ProjectPaths.h"

#include <QDir>

#include <algorithm>

namespace kpl {

namespace {

const QLatin1String kOption("--import-jet");

// A keyword of a program start ("EXTERNAL", "/LOGFILE", any letter case, also
// with its value after ":" or "="): the import is no start of the program.
bool isStartKeyword(const QString& argument) {
    const QString word = argument.startsWith(QLatin1Char('/')) ? argument.mid(1) : argument;
    for (const char* keyword : {"EXTERNAL", "LOGFILE"}) {
        const QLatin1String name(keyword);
        if (word.startsWith(name, Qt::CaseInsensitive) &&
            (word.size() == name.size() || word.at(name.size()) == QLatin1Char(':') ||
             word.at(name.size()) == QLatin1Char('=')))
            return true;
    }
    return false;
}

// The option comes first and alone, or with the two files.
bool isUsedAsDocumented(const QStringList& arguments) {
    return arguments.value(0) == kOption && (arguments.size() == 1 || arguments.size() == 3) &&
           std::none_of(arguments.begin(), arguments.end(), isStartKeyword);
}

int exitCode(bool succeeded) {
    return int(succeeded ? ExitCode::Normal : ExitCode::Ended);
}

void printUsage(QTextStream& err) {
    err << "Usage: KPL_Presets_Config --import-jet\n"
           "       KPL_Presets_Config --import-jet FILE.mdb OUT.mdb\n"
           "Without files, imports every database of this installation that is a Jet file,\n"
           "in place, keeping each Jet file as NAME.mdb.jet. With files, writes the import\n"
           "of FILE.mdb to the new file OUT.mdb. The import is no start of the program: it\n"
           "takes no start keywords (EXTERNAL, LOGFILE).\n";
}

// The in-place import works on the program's own installation; outside one
// it says where it looked, prints the usage and touches nothing, not even
// the lock file.
bool isInInstallation(ProcessState& state, QTextStream& err) {
    const QString missing = missingConfigurationFile(state);
    if (missing.isEmpty())
        return true;
    err << "Not started in a component folder of a project: " << QDir::toNativeSeparators(missing)
        << " was not found.\n";
    printUsage(err);
    return false;
}

bool importFile(const QString& jetPath, const QString& newPath, QTextStream& out,
                QTextStream& err) {
    try {
        // Said only of a file that can be imported into a file that is new.
        const FileKind kind = requireImportableJetFile(jetPath);
        requireNewFile(newPath);
        out << "Importing " << QDir::toNativeSeparators(jetPath) << " (" << fileKindName(kind)
            << ") into " << QDir::toNativeSeparators(newPath) << '\n';
        out.flush();
        printTableCounts(out, importToNewFile(jetPath, newPath));
        return true;
    } catch (const Failure& failure) {
        err << "Import failed: " << failure.description << '\n';
        return false;
    }
}

} // namespace

int runJetImport(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 Runtime& runtime) {
    bool succeeded = false;
    if (!isUsedAsDocumented(arguments)) {
        printUsage(err);
    } else if (arguments.size() == 3) {
        succeeded = importFile(arguments.at(1), arguments.at(2), out, err);
    } else {
        ProcessState state(runtime);
        try {
            succeeded = isInInstallation(state, err) && importInstallation(state, out, err);
        } catch (const ProcessEnd& end) {
            err.flush();
            return int(end.code);
        }
    }
    out.flush();
    err.flush();
    return exitCode(succeeded);
}

} // namespace kpl
