#include "presetdb/Substitution.h"

#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "core/VisiWinVariant.h"
#include "errors/Procedure.h"
#include "presetdb/ProjectDatabase.h"

namespace kpl {

void CategorieNachCategoryID(ProcessState& state, ProjectDatabase& project) {
    Procedure proc(state, QStringLiteral("CategorieNachCategoryID"));
    if (!proc.test([&] { return project.exists(); }))
        return;
    TableDef definition;
    proc.assign(definition, [&] { return project.database().tableDef(table::PresetDefs); });
    const int oldCategory = definition.indexOf(presetDefs::OldCategory);
    if (oldCategory >= 0)
        proc.step([&] { project.renameCategoryColumn(definition.field(oldCategory).name); });
}

void VarNameInQuelleErsetzen(ProcessState& state, ProjectDatabase& project,
                             const QString& nameVisiWin32, const QString& nameVisiWinStudio) {
    Procedure proc(state, QStringLiteral("VarNameInQuelleErsetzen"));
    if (!proc.test([&] { return project.exists(); }))
        return;
    const bool studio = state.visiWinVariant == VisiWinVariant::VisiWinStudio;
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
            table.setValue(presetDefs::VarName, replacement);
            table.update();
            project.renamed(position, searched, replacement);
        });
    }
}

} // namespace kpl
