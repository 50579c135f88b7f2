#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

namespace kpl {

// Options that do one job instead of starting the dialog: --help and
// --version, which touch no file, and --import-jet, which converts databases
// of the old engine. Returns the exit code when one of them was given,
// nothing when the program is to start as usual. Any other argument that
// begins with "--" prints the usage on standard error and ends with exit
// code 1, whatever else the command line holds. `argc` and `argv` are those
// the program was started with.
//
// Each option is one row of the table in MaintenanceOptions.cpp.
std::optional<int> runMaintenanceOption(int argc, char** argv, QTextStream& out);

} // namespace kpl
