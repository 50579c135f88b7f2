#include "presetdb/Substitution.h"

#include "core/ProcessState.h"
#include "errors/Procedure.h"
#include "presetdb/ProjectDatabase.h"

namespace kpl {

namespace {
const QString kPresetDefs = QStringLiteral("PRESET_DEFS");
} // namespace

void CategorieNachCategoryID(ProcessState& state, ProjectDatabase& project) {
    Procedure proc(state, QStringLiteral("CategorieNachCategoryID"));
    if (!proc.test([&] { return project.exists(); }))
        return;
    TableDef definition;
    proc.assign(definition, [&] { return project.database().tableDef(kPresetDefs); });
    for (const Field& field : definition.fields()) {
        proc.step([&] {
            if (field.name.toUpper() == QLatin1String("CATEGORIE"))
                project.renameCategoryColumn(field.name);
        });
    }
}

void VarNameInQuelleErsetzen(ProcessState& state, ProjectDatabase& project,
                             const QString& nameVisiWin32, const QString& nameVisiWinStudio) {
    Procedure proc(state, QStringLiteral("VarNameInQuelleErsetzen"));
    if (!proc.test([&] { return project.exists(); }))
        return;
    const bool studio = state.visiWinVariant == 1;
    const QString& searched = studio ? nameVisiWin32 : nameVisiWinStudio;
    const QString& replacement = studio ? nameVisiWinStudio : nameVisiWin32;
    QList<int> rows;
    if (!proc.assign(rows, [&] { return project.rowsNamed(searched); }))
        return; // no recordset to walk
    for (const int position : rows) {
        proc.step([&] {
            Recordset& table = project.presetDefs();
            table.moveTo(position);
            table.edit();
            table.setValue(QStringLiteral("var_name"), replacement);
            table.update();
            project.renamed(position, searched, replacement);
        });
    }
}

} // namespace kpl
