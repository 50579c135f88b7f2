#pragma once

#include <QStringList>
#include <QTextStream>

namespace kpl {

class Runtime;

// The option that imports databases of the old engine:
//
//   KPL_Presets_Config --import-jet
//       imports in place every database of the program's own installation
//       that is a Jet file (InstallationImport.h); the installation is found
//       from the runtime's executable path, as the update run finds it, and
//       a program outside one (no component configuration file) says where
//       it looked, prints the usage and touches no file;
//   KPL_Presets_Config --import-jet FILE.mdb OUT.mdb
//       writes the import of the Jet file FILE.mdb to the new file OUT.mdb.
//
// `arguments` are the program's arguments without the program name:
// "--import-jet" first, then nothing or the two files. Anything else, start
// keywords (EXTERNAL, LOGFILE) among them, is wrong usage: the import is no
// start of the program and does not choose between the two. The report (one
// line per table: name, rows read, rows written) goes to `out`, failures
// and the usage to `err`. Returns the exit code: 0 when everything was
// imported, 1 on any failure or wrong usage.
int runJetImport(const QStringList& arguments, QTextStream& out, QTextStream& err,
                 Runtime& runtime);

} // namespace kpl
