#include "presetdb/CreateRecordSets.h"

#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "core/VisiWinVariant.h"
#include "core/WholeNumber.h"
#include "database/FieldValue.h"
#include "database/Recordset.h"
#include "errors/Procedure.h"
#include "presetdb/Conversions.h"
#include "presetdb/ProjectDatabase.h"
#include "presetdb/Substitution.h"
#include "settings/CommandLine.h"
#include "settings/Ini.h"
#include "settings/Machines.h"
#include "settings/ProjectPaths.h"

#include <QDir>

#include <vector>

namespace kpl {

namespace {

// The entry of the start mode's machine list that holds machine `number`,
// as a message names it.
QString machineEntry(ProcessState& state, int number) {
    const bool integrated = state.integratedMode;
    const QString file = integrated ? GetN4RConfigurationIniPath(state) : state.programIniPath;
    const QString entry = integrated ? QStringLiteral("[Common] NameM%1").arg(number)
                                     : QStringLiteral("[Project] NumberOfMachines");
    if (file.isEmpty())
        return entry + QStringLiteral(", whose file was not found");
    return entry + QStringLiteral(" of ") + QDir::toNativeSeparators(file);
}

// The name of machine `number`; failure 9 when the list has no such machine,
// naming where the list comes from.
QString machineName(ProcessState& state, int number) {
    if (state.machineNames && number < state.machineNames->size())
        return state.machineNames->at(number);
    raise(vb::SubscriptOutOfRange,
          QStringLiteral("%1: the machine list has no machine %2 (%3), so no preset definitions "
                         "were made")
              .arg(vb::description(vb::SubscriptOutOfRange), QString::number(number),
                   machineEntry(state, number)));
}

// A machine missing from the list fails the selection in an integrated
// start, and then selects nothing.
bool machineSelected(ProcessState& state, Procedure& proc, const QString& validMachines,
                     int number) {
    if (proc.test([&] { return GetStartModeIntegrated(state); })) {
        bool selected = false;
        proc.assign(selected, [&] {
            const QString valid = validMachines.toUpper();
            return valid == QLatin1String("ALL") ||
                   valid.contains(machineName(state, number).toUpper());
        });
        return selected;
    }
    return proc.test([&] {
        return LoadIniBoolean(state, QStringLiteral("Project"),
                              QStringLiteral("ForMachine") + QString::number(number),
                              GetCFGPath(state), false);
    });
}

// The template table read into memory: rows by position, cells by column.
// Rows that cannot be read stay rows of Null cells.
std::vector<QVariantList> readTemplates(Procedure& proc, Recordset& templates, qint16 count) {
    std::vector<QVariantList> rows;
    int columns = 0;
    proc.step([&] { templates.moveFirst(); });
    proc.assign(columns, [&] { return templates.fieldCount(); });
    proc.assign(rows, [&] { return templates.getRows(count); });
    rows.resize(std::size_t(count), QVariantList(columns));
    proc.step([&] { templates.moveFirst(); });
    return rows;
}

// The variable name of the record being built, for both HMI variants; asks
// for the old records to be renamed and returns the name of the variant in
// use. `part` keeps its value from the last record when it cannot be read.
QString buildVarName(ProcessState& state, Procedure& proc, ProjectDatabase& project,
                     Recordset& destination, const QString& templateName, qint16& part,
                     const QString& machine) {
    proc.assign(part, [&] { return cellToInt16(destination.value(presetDefs::Part)); });
    PerVisiWinVariant<QString> names;
    for (const VisiWinVariant variant : kVisiWinVariants) {
        proc.assign(names[variant], [&] {
            return ReplaceSearchItem(state.varNameTemplates[variant].at(part), placeholder::VarName,
                                     templateName);
        });
        // The machine's name goes in twice in a row, so a template may name
        // the machine in two places; a third placeholder stays as written.
        // Other text cells get it once.
        for (int twice = 0; twice < 2; ++twice) {
            proc.assign(names[variant], [&] {
                return ReplaceSearchItem(names[variant], placeholder::Machine, machine);
            });
        }
    }
    proc.step([&] {
        VarNameInQuelleErsetzen(state, project, names[VisiWinVariant::VisiWin32],
                                names[VisiWinVariant::VisiWinStudio]);
    });
    return names[state.visiWinVariant];
}

// Turns template cells into the values of the record being built.
struct RecordFiller {
    ProcessState& state;
    Procedure& proc;
    ProjectDatabase& project;
    std::optional<Recordset>& destination;
    int machine;
    int varNameColumn;
    // Kept from record to record: a part that cannot be read leaves the last one.
    qint16 part = 0;

    // Text gets the machine's name, the variable-name column the name built
    // from the part's template; other values stay as they are.
    QVariant value(int column, const QVariant& cell) {
        if (!isTextValue(cell))
            return cell;
        QString text;
        if (column == varNameColumn) {
            proc.assign(text, [&] {
                return buildVarName(state, proc, project, destination.value(), cell.toString(),
                                    part, machineName(state, machine));
            });
        } else {
            proc.assign(text, [&] {
                return ReplaceSearchItem(cell.toString(), placeholder::Machine,
                                         machineName(state, machine));
            });
        }
        return text;
    }
};

} // namespace

int CreateRecordSets(ProcessState& state, Database& source, ProjectDatabase& project) {
    Procedure proc(state, QStringLiteral("CreateRecordSets"));
    QString validMachines;
    proc.assign(validMachines, [&] { return GetValidMachines(state); });
    std::optional<Recordset> destination;
    std::optional<Recordset> templates;
    proc.step([&] { destination.emplace(source.openRecordset(table::PresetDefs)); });
    proc.step([&] { templates.emplace(source.openRecordset(table::SourcePresetDefs)); });
    qint16 count = 0;
    proc.assign(count, [&] { return toInt16(templates.value().recordCount()); });
    std::vector<QVariantList> rows;
    if (proc.test([&] { return count > 0; }))
        proc.assign(rows, [&] { return readTemplates(proc, templates.value(), count); });
    templates.reset();
    qint16 id = 1;
    if (count <= 0)
        return 0;

    const int machine = 1; // only the first machine of the list is ever configured
    if (!machineSelected(state, proc, validMachines, machine))
        return 0;
    // Every record needs the machine's name: a machine missing from the list
    // is one failure, here, and no record is made.
    if (!proc.step([&] { machineName(state, machine); }))
        return 0;
    int columns = 0;
    proc.assign(columns, [&] { return destination.value().fieldCount(); });
    // The variable-name column after the first, found by its name in any
    // letter case.
    int varNameColumn = -1;
    proc.assign(varNameColumn,
                [&] { return destination ? destination->indexOf(presetDefs::VarName, 1) : -1; });
    RecordFiller filler{state, proc, project, destination, machine, varNameColumn};
    int saved = 0;
    for (const QVariantList& row : rows) {
        state.runtime.doEvents();
        proc.step([&] { destination.value().addNew(); });
        proc.step([&] { destination.value().setValue(presetDefs::Id, id); });
        proc.assign(id, [&] { return toInt16(qint64(id) + 1); });
        for (int c = 1; c < columns && c < row.size(); ++c) {
            const QVariant value = filler.value(c, row[c]);
            proc.step([&] { destination.value().setValue(c, value); });
        }
        if (proc.step([&] { destination.value().update(); }))
            ++saved;
    }
    return saved;
}

} // namespace kpl
