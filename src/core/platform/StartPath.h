#pragma once

#include <QString>

namespace kpl::platform {

// The executable's path is the path the program was started by, symbolic
// links kept: a link in a component folder to a program installed elsewhere
// configures the component of that folder, and a link named after another
// component configures that one.

// The working directory as the shell that started the program sees it:
// `shellPwd` (the PWD it passes on) when that is an absolute path without "."
// or ".." components naming the current directory, so a folder entered
// through a link keeps the link; else the current directory.
QString workingDirectory(const QString& shellPwd);

// The path `startPath` (the program's first argument) started the program
// by: made absolute against `workingDirectory` when it holds a folder, else
// the first executable file of that name in the folders of `searchPath`
// (PATH), as the shell looks a command up. `runningFile`, the program file's
// real location, when that path does not lead to it (a start under another
// name) and on Windows, where the system reports the started file itself.
QString startedExecutablePath(const QString& startPath, const QString& workingDirectory,
                              const QString& searchPath, const QString& runningFile);

} // namespace kpl::platform
