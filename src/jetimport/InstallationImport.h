#pragma once

#include <QList>
#include <QString>
#include <QTextStream>

namespace kpl {

struct ProcessState;

// One of the installation's databases: what it is and where it is ("" when
// there is none).
struct InstallationDatabase {
    QString role; // "Source database", "Project database", "Machine copy"
    QString path;
};

// The installation's three databases, found by the rules the update run
// uses: the source database, the project database and the machine copy in
// the restore folder the host configuration names. A path that two roles
// share is listed once.
QList<InstallationDatabase> installationDatabases(ProcessState& state);

// Imports in place every one of the installation's databases that is a Jet
// file (InPlaceImport.h); files that are already SQLite are left alone. All
// files are checked before any is changed: a kept Jet file in the way, an
// ACE file, a truncated file or a file of no known kind stops the import
// with nothing changed. A failure while importing stops at that file; the
// files imported before it stay imported. Reports to `out`, failures to
// `err`; true when everything succeeded.
bool importInstallation(ProcessState& state, QTextStream& out, QTextStream& err);

} // namespace kpl
