#pragma once

#include <QString>
#include <QStringList>

namespace kpl {

// What the program takes from the way it was started, read before Qt takes
// its own options out of the arguments.

// The name the program was started by (its file name), for what it prints.
QString programName(int argc, char** argv);

// The arguments after the program's own path.
QStringList programArguments(int argc, char** argv);

// The same arguments joined by single blanks: the command line the keywords
// are read from.
QString rawCommandLine(int argc, char** argv);

// The process environment as "NAME=value" entries, in the order the system
// lists them.
QStringList processEnvironment();

// The path the program was started by, symbolic links kept (see
// platform::startedExecutablePath): every file is found from it. Needs the
// application object.
QString runningExecutablePath();

} // namespace kpl
