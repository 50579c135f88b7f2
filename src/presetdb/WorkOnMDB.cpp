#include "presetdb/WorkOnMDB.h"

#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "core/VisiWinVariant.h"
#include "core/platform/CaseBlindPath.h"
#include "core/platform/FileTimes.h"
#include "database/Database.h"
#include "database/DatabaseFile.h"
#include "database/Recordset.h"
#include "errors/LineBreak.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "jetimport/JetTableRebuild.h"
#include "presetdb/CreateRecordSets.h"
#include "presetdb/JetWorkCopies.h"
#include "presetdb/ProjectDatabase.h"
#include "presetdb/ProjectReplacement.h"
#include "presetdb/Substitution.h"
#include "presetdb/Takeover.h"
#include "presetdb/Templates.h"
#include "settings/Ini.h"
#include "settings/Machines.h"
#include "settings/ProjectPaths.h"

#include <QScopeGuard>

namespace kpl {

namespace {

void showMissingMachineCopy(ProcessState& state, const QString& projectPath) {
    const QString crlf = QStringLiteral("\r\n");
    state.runtime.showMessage(
        {QStringLiteral("Konnte die Datei:\"") + GetFileNameOnly(state, projectPath) +
             QStringLiteral("\" in der Vorlage nicht finden!") + crlf + crlf +
             QStringLiteral("Ist das Bild in der Vorlage noch nicht vorhanden (also neu)?") + crlf +
             QStringLiteral("Dann ist diese Meldung v\u00f6llig normal und es wird eine neue Datei "
                            "mit den Standardwerten erzeugt."),
         QString(), MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok});
}

// Without the host configuration an integrated start knows neither the
// machines nor the machine copy: the one thing to say, before any database is
// touched.
void reportNoHostConfiguration(ProcessState& state) {
    const QString text =
        QStringLiteral("Ohne die Konfiguration des Host-Programms k\u00f6nnen keine "
                       "Voreinstellungen (PRESET_DEFS) erstellt werden:") +
        lfCr() + expectedN4RConfigurationIniPath(state) + QStringLiteral(" wurde nicht gefunden.") +
        lfCr() + QStringLiteral("Die Datenbanken bleiben unver\u00e4ndert.");
    WriteErrorLog(state, QStringLiteral("WorkOnMDB: ") + text);
    ReportFault(state, text);
}

// The databases the run works on must be this program's own before anything
// is copied over or written into one of them; a journal a killed run left
// beside one of them is rolled back into it first. False when the run cannot
// go on. On Jet files (`onJet`) a Jet 4 file is worked on through an import,
// and only while the database engine does not have it open: the HMI reads
// the project database through the engine, and it would keep the file it
// has open.
bool prepareDatabases(Procedure& proc, const QStringList& paths, bool onJet) {
    bool ours = true;
    for (const QString& path : paths) {
        ours = proc.step([&] {
            if (onJet && JetWorkCopies::isJet4(path))
                refuseOpenJetFile(path);
            else
                requireOwnDatabase(path);
        }) && ours;
    }
    if (!ours)
        return false;
    for (const QString& path : paths)
        ours = proc.step([&] { recoverJournal(path); }) && ours;
    return ours;
}

// Drops PRESET_DEFS (found by its exact name) and creates it anew with the
// columns of Source_PRESET_DEFS: name, type and size of each, in order.
// False when the engine rolled the rebuild back.
bool rebuildPresetDefs(Procedure& proc, Database& source) {
    proc.step([&] {
        if (source.tableNames().contains(table::PresetDefs))
            source.deleteTable(table::PresetDefs);
    });
    if (!source.rollbackCause().isEmpty())
        return false;
    TableDef definition(table::PresetDefs);
    proc.step([&] {
        const TableDef templates = source.tableDef(table::SourcePresetDefs);
        for (const Field& field : templates.fields())
            definition.appendField(field);
    });
    proc.step([&] { source.appendTableDef(definition); });
    return source.rollbackCause().isEmpty();
}

// The old PRESET_DEFS of the project database hands its values to the new
// records of the source database.
void takeOverOldValues(ProcessState& state, Procedure& proc, Database& source,
                       ProjectDatabase& project) {
    if (!proc.test([&] { return project.exists(); }))
        return;
    bool hasTable = false;
    proc.assign(hasTable,
                [&] { return project.database().tableNames().contains(table::PresetDefs); });
    if (hasTable) {
        std::optional<Recordset> old;
        proc.step([&] { old.emplace(project.database().openRecordset(table::PresetDefs)); });
        if (old) {
            proc.step([&] { GetAddFields(state); });
            proc.step([&] { TakeoverMachineCopyMDBData(state, source, old); });
        }
    }
    proc.step([&] { project.close(); });
}

struct Rebuild {
    int created = 0;    // records created
    QString rolledBack; // the failure after which the engine rolled it back
};

// Rebuilds PRESET_DEFS in the source database, fills it and takes the old
// values over. Once the engine has rolled the rebuild back, nothing more is
// written into the source database.
Rebuild rebuildSource(ProcessState& state, Procedure& proc, const QString& sourcePath,
                      ProjectDatabase& project) {
    std::optional<Database> source;
    proc.step([&] {
        source.emplace(Database::open(sourcePath));
        source->beginTransaction();
    });
    Rebuild rebuild;
    if (source) {
        if (rebuildPresetDefs(proc, *source)) {
            proc.step([&] { CategorieNachCategoryID(state, project); });
            proc.assign(rebuild.created, [&] { return CreateRecordSets(state, *source, project); });
            if (source->rollbackCause().isEmpty())
                takeOverOldValues(state, proc, *source, project);
        }
        rebuild.rolledBack = source->rollbackCause();
        if (rebuild.rolledBack.isEmpty())
            proc.step([&] { source->close(); });
    }
    project.close();
    return rebuild;
}

// Why the run's result may not replace the project database; "" when it may.
QString unfitResult(const Rebuild& rebuild, int failuresDuringRun) {
    if (!rebuild.rolledBack.isEmpty())
        return QStringLiteral("the engine rolled the rebuild back after this failure: ") +
               rebuild.rolledBack;
    if (failuresDuringRun == 1)
        return QStringLiteral("a failure was reported during the run");
    if (failuresDuringRun > 1)
        return QStringLiteral("%1 failures were reported during the run").arg(failuresDuringRun);
    return {};
}

} // namespace

bool WorkOnMDB(ProcessState& state) {
    Procedure proc(state, QStringLiteral("WorkOnMDB"));
    const int failuresBefore = state.failuresReported;
    QString sourcePath;
    QString projectPath;
    QString hostIni;
    QString machineCopyPath;
    proc.assign(sourcePath, [&] { return GetPathSourceOCXMDB(state); });
    proc.assign(projectPath, [&] { return GetPathOCXMDB(state); });
    proc.assign(hostIni, [&] { return GetN4RConfigurationIniPath(state); });
    proc.assign(machineCopyPath, [&] { return GetPathMachineCopyMDB(state, hostIni); });
    const bool integrated = state.integratedMode;
    proc.assign(state.visiWinVariant, [&] {
        const bool studio =
            !integrated && LoadIniBoolean(state, QStringLiteral("Project"),
                                          QStringLiteral("VWStudio"), state.programIniPath, false);
        return studio ? VisiWinVariant::VisiWinStudio : VisiWinVariant::VisiWin32;
    });
    if (integrated && proc.test([&] { return hostIni.isEmpty(); })) {
        proc.step([&] { reportNoHostConfiguration(state); });
        return false;
    }
    if (sourcePath.isEmpty())
        return false;
    const bool machineCopyFound =
        !machineCopyPath.isEmpty() && platform::fileExists(machineCopyPath);
    QStringList databases{sourcePath, projectPath};
    if (integrated && machineCopyFound)
        databases.append(machineCopyPath);
    // A site whose source database is a Jet 4 file keeps Jet files.
    bool onJet = false;
    proc.assign(onJet, [&] { return JetWorkCopies::isJet4(sourcePath); });
    if (!prepareDatabases(proc, databases, onJet))
        return false;
    platform::FileTimes sourceTimes;
    proc.step([&] { platform::readFileTimes(sourcePath, sourceTimes); });
    // The source database ends the run with the times it had, also when the
    // process ends on the way: put back after its last access and the copy.
    const auto restoreTimes = qScopeGuard([&] {
        if (!sourceTimes.isZero())
            platform::restoreFileTimes(sourcePath, sourceTimes);
    });

    JetWorkCopies copies; // removed after the connections to them are gone
    QString rebuiltPath = sourcePath;
    ProjectDatabase project(state);
    ProjectReplacement replacement(state, proc, sourcePath, projectPath, project);
    replacement.keepPrevious();
    if (integrated) {
        if (machineCopyFound)
            replacement.replaceWith(machineCopyPath);
        else
            proc.step([&] { showMissingMachineCopy(state, projectPath); });
    }
    if (onJet) {
        QString unreadable;
        try {
            // The run reads the templates of the source database and
            // PRESET_DEFS of the project database, nothing else.
            rebuiltPath = copies.workOn(sourcePath, {table::SourceDefs, table::SourcePresetDefs});
            const QString projectCopy = copies.workOn(projectPath, {table::PresetDefs});
            if (projectCopy != projectPath)
                project.workOnCopy(projectCopy);
        } catch (const Failure& failure) {
            unreadable = QStringLiteral("a Jet database cannot be read: ") + failure.description;
        }
        if (!unreadable.isEmpty()) {
            replacement.finish(unreadable, 0);
            return true;
        }
        replacement.rebuildsIn(
            rebuiltPath, [&] { writePresetDefsToJet(rebuiltPath, sourcePath, *state.fileCalls); });
    }
    proc.step([&] { LoadVarNameTemplates(state, proc, rebuiltPath); });
    const Rebuild rebuild = rebuildSource(state, proc, rebuiltPath, project);

    // The values tuned on the machine live in the project database: it is
    // replaced only by a sound result of this run.
    replacement.finish(unfitResult(rebuild, state.failuresReported - failuresBefore),
                       rebuild.created);
    return true;
}

} // namespace kpl
