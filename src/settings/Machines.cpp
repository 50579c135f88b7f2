#include "settings/Machines.h"

#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "core/platform/CaseBlindPath.h"
#include "errors/Procedure.h"
#include "settings/Ini.h"
#include "settings/ProjectPaths.h"

namespace kpl {

namespace {

// Grows the machine list to upper bound `index`, keeping its contents, and
// stores `name` there. The list grows in place: a copy per machine would
// make a long list cost the square of its length.
void storeMachine(ProcessState& state, int index, const QString& name) {
    if (!state.machineNames)
        state.machineNames = QStringList{QString()};
    QStringList& names = *state.machineNames;
    while (names.size() <= index)
        names.append(QString());
    names[index] = name;
}

} // namespace

void GetExistingMachines(ProcessState& state, const QString& iniFile) {
    Procedure proc(state, QStringLiteral("GetExistingMachines"));
    proc.assign(state.programIniPath, [&] { return GetProgramIniPath(state, IniAccess::Read); });
    if (proc.test([&] { return state.integratedMode; })) {
        if (!proc.test([&] { return !iniFile.isEmpty() && platform::fileExists(iniFile); }))
            return;
        for (int i = 1; i <= kHostMachineNames; ++i) {
            QString name;
            proc.assign(name, [&] {
                return LoadIniString(state, QStringLiteral("Common"),
                                     QStringLiteral("NameM") + QString::number(i), iniFile, false);
            });
            if (name == QLatin1String("-") || name.isEmpty())
                return;
            proc.step([&] { storeMachine(state, i, name); });
        }
        return;
    }
    qint16 count = 0;
    proc.assign(count, [&] {
        return LoadIniInteger(state, QStringLiteral("Project"), QStringLiteral("NumberOfMachines"),
                              state.programIniPath, false);
    });
    for (int i = 1; i <= count; ++i) {
        proc.step([&] {
            storeMachine(state, i,
                         LoadIniString(state, QStringLiteral("Machine") + QString::number(i),
                                       QStringLiteral("MachineName"), state.programIniPath, false));
        });
    }
}

QString GetValidMachines(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetValidMachines"));
    QString valid;
    proc.assign(valid, [&] {
        return LoadIniString(state, QStringLiteral("Project"), QStringLiteral("ValidMachines"),
                             GetCFGPath(state), false);
    });
    return valid;
}

QStringList GetAdditionalFieldsMDB(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetAdditionalFieldsMDB"));
    QStringList fields{QString()};
    QString rest;
    proc.assign(rest, [&] {
        return LoadIniString(state, QStringLiteral("Project"),
                             QStringLiteral("DataBaseAdditionalFields"), GetCFGPath(state), false);
    });
    rest = rest.isEmpty() ? presetDefs::Part : presetDefs::Part + QLatin1Char(',') + rest;
    for (;;) {
        state.runtime.doEvents();
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma < 0) {
            fields.append(rest);
            return fields;
        }
        fields.append(rest.left(comma));
        rest = rest.mid(comma + 1);
    }
}

void GetAddFields(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetAddFields"));
    std::optional<QStringList> fields;
    proc.assign(fields, [&] { return std::optional<QStringList>(GetAdditionalFieldsMDB(state)); });
    state.additionalFields = fields;
    if (fields)
        state.additionalFieldCount = qint16(fields->size() - 1);
}

} // namespace kpl
