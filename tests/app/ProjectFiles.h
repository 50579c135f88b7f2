#pragma once

#include "TestInstallation.h"

#include <QString>

namespace kpl::test {

// Lays out the files of a project in `install`: the host configuration with
// a restore folder, the program INI (function on, tolerance off, 120 s), the
// machine copy's program INI (function off, tolerance on, 300 s) and the
// component configuration. No databases: the update run has nothing to do.
void writeProjectFiles(const TestInstallation& install);

// Copies the built program to the installation's executable path: the
// program finds its files from its own real location.
void copyProgram(const QString& program, const TestInstallation& install);

// One entry of an INI file, read as the program reads it.
QString iniEntry(const QString& path, const QString& section, const QString& key);

} // namespace kpl::test
