#pragma once

#include <QString>
#include <QStringList>

namespace kpl {

struct ProcessState;

// The most machine names the host configuration INI supplies (NameM1 ...).
constexpr int kHostMachineNames = 5;

// Records ProgramIniPath and fills MachineNames: in integrated mode from
// NameM1..NameM<kHostMachineNames> of the host configuration INI `iniFile`,
// otherwise from the program INI's machine sections.
void GetExistingMachines(ProcessState& state, const QString& iniFile);

// The raw "ValidMachines" text of the component's configuration file.
QString GetValidMachines(ProcessState& state);

// "", "part", then the configured additional column names.
QStringList GetAdditionalFieldsMDB(ProcessState& state);

// Sets the state's additionalFields and additionalFieldCount.
void GetAddFields(ProcessState& state);

} // namespace kpl
