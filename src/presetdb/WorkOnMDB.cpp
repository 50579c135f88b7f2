#include "presetdb/WorkOnMDB.h"

#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "presetdb/AtomicCopy.h"
#include "presetdb/CreateRecordSets.h"
#include "presetdb/Database.h"
#include "presetdb/Recordset.h"
#include "presetdb/Substitution.h"
#include "presetdb/Takeover.h"
#include "presetdb/Templates.h"
#include "settings/Ini.h"
#include "settings/Machines.h"
#include "settings/Platform.h"
#include "settings/ProcessState.h"
#include "settings/ProjectPaths.h"

namespace kpl {

namespace {

const QString kPresetDefs = QStringLiteral("PRESET_DEFS");

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

// Drops PRESET_DEFS (found by its exact name) and creates it anew with the
// columns of Source_PRESET_DEFS: name, type and size of each, in order.
bool rebuildPresetDefs(Procedure& proc, Database& source) {
    bool rebuilt = proc.step([&] {
        if (source.tableNames().contains(kPresetDefs))
            source.deleteTable(kPresetDefs);
    });
    TableDef definition(kPresetDefs);
    rebuilt = proc.step([&] {
        const TableDef templates = source.tableDef(QStringLiteral("Source_PRESET_DEFS"));
        for (const Field& field : templates.fields())
            definition.appendField(field);
    }) && rebuilt;
    return proc.step([&] { source.appendTableDef(definition); }) && rebuilt;
}

// The old PRESET_DEFS of the project database hands its values to the new
// records of the source database.
void takeOverOldValues(ProcessState& state, Procedure& proc, Database& source,
                       ProjectDatabase& project) {
    if (!proc.test([&] { return project.exists(); }))
        return;
    bool hasTable = false;
    proc.assign(hasTable,
                [&] { return project.database().tableNames().contains(kPresetDefs); });
    if (hasTable) {
        std::optional<Recordset> old;
        proc.step([&] { old.emplace(project.database().openRecordset(kPresetDefs)); });
        if (old) {
            proc.step([&] { GetAddFields(state); });
            proc.step([&] { TakeoverMachineCopyMDBData(state, source, old); });
        }
    }
    proc.step([&] { project.close(); });
}

} // namespace

void WorkOnMDB(ProcessState& state) {
    // The first steps report their failures without a name.
    Procedure proc(state, QString());
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
        return qint16(!integrated && LoadIniBoolean(state, QStringLiteral("Project"),
                                                    QStringLiteral("VWStudio"),
                                                    state.programIniPath, false));
    });
    if (sourcePath.isEmpty())
        return;
    proc.step([&] { platform::readFileTimes(sourcePath, state.sourceFileTimes); });
    if (integrated) {
        if (machineCopyPath.isEmpty() || !platform::fileExists(machineCopyPath))
            proc.step([&] { showMissingMachineCopy(state, projectPath); });
        else
            proc.step([&] { copyFileAtomically(machineCopyPath, projectPath); });
    }
    proc.step([&] { LoadVarNameTemplates(state, proc, sourcePath); });

    proc.rename(QStringLiteral("WorkOnMDB"));
    std::optional<Database> source;
    bool rebuilt = proc.step([&] {
        source.emplace(Database::open(sourcePath));
        source->beginTransaction();
    });
    ProjectDatabase project(state);
    if (source) {
        rebuilt = rebuildPresetDefs(proc, *source) && rebuilt;
        proc.step([&] { CategorieNachCategoryID(state, project); });
        proc.step([&] { CreateRecordSets(state, *source, project); });
        takeOverOldValues(state, proc, *source, project);
        proc.step([&] { source->close(); });
        source.reset();
    }
    project.close();

    // The values tuned on the machine live in the project database: it is
    // replaced only by a source database that was rebuilt in this run.
    if (rebuilt) {
        proc.step([&] {
            copyFileAtomically(GetPathSourceOCXMDB(state), GetPathOCXMDB(state));
        });
    } else {
        WriteErrorLog(state,
                      QStringLiteral("WorkOnMDB: PRESET_DEFS could not be rebuilt in ") +
                          sourcePath + QStringLiteral("; ") + projectPath +
                          QStringLiteral(" was left unchanged."),
                      false);
    }
    if (!state.sourceFileTimes.isZero())
        proc.step([&] { platform::restoreFileTimes(sourcePath, state.sourceFileTimes); });
}

} // namespace kpl
