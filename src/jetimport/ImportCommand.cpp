#include "jetimport/ImportCommand.h"

#include "errors/ExitCode.h"
#include "errors/Failure.h"
#include "jetimport/FileKind.h"
#include "jetimport/ImportReport.h"
#include "jetimport/InPlaceImport.h"
#include "jetimport/InstallationImport.h"
#include "settings/ProcessState.h"

#include <QDir>

namespace kpl {

namespace {

const QLatin1String kOption("--import-jet");

int exitCode(bool succeeded) {
    return int(succeeded ? ExitCode::Normal : ExitCode::Ended);
}

void printUsage(QTextStream& err) {
    err << "Usage: KPL_Presets_Config --import-jet\n"
           "       KPL_Presets_Config --import-jet FILE.mdb OUT.mdb\n"
           "Without files, imports every database of this installation that is a Jet file,\n"
           "in place, keeping each Jet file as NAME.mdb.jet. With files, writes the import\n"
           "of FILE.mdb to the new file OUT.mdb.\n";
}

bool importFile(const QString& jetPath, const QString& newPath, QTextStream& out,
                QTextStream& err) {
    try {
        out << "Importing " << QDir::toNativeSeparators(jetPath) << " ("
            << fileKindName(fileKind(jetPath)) << ") into " << QDir::toNativeSeparators(newPath)
            << '\n';
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
    const QStringList operands = arguments.mid(arguments.indexOf(kOption) + 1);
    bool succeeded = false;
    if (operands.size() == 2) {
        succeeded = importFile(operands.at(0), operands.at(1), out, err);
    } else if (operands.isEmpty()) {
        ProcessState state(runtime);
        try {
            succeeded = importInstallation(state, out, err);
        } catch (const ProcessEnd& end) {
            err.flush();
            return int(end.code);
        }
    } else {
        printUsage(err);
    }
    out.flush();
    err.flush();
    return exitCode(succeeded);
}

} // namespace kpl
