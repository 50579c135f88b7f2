#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

namespace kpl {

// Options that answer from the command line alone, before the program looks
// at any file: --help and --version. Returns the exit code when one of them
// was given, nothing when the program is to start as usual.
//
// Each option is one row of the table in MaintenanceOptions.cpp; further
// maintenance options (an import of Jet databases, --import-jet, is planned)
// are added there as rows of their own.
std::optional<int> runMaintenanceOption(const QStringList& arguments, QTextStream& out);

} // namespace kpl
