#pragma once

#include "core/platform/FileLock.h"

namespace kpl {

struct ProcessState;

// What a start makes sure of before it writes anything: the program lies in
// a component folder of a project (its component configuration file is
// where the path rules put it; where the project's parameter folder is there
// and only that file is not, the message says the file is missing, and a
// silent start also logs "File not found" to the service log), and a start
// with a window is the only open
// dialog of its installation. Returns the dialog lock, for the dialog to hold
// while it is open (none for a silent start, which waits for the run lock
// instead). Otherwise one message says why (a box, or standard error in a
// silent start) and the process ends (exit code 1) without writing any file,
// not even a log.
platform::FileLock claimInstallation(ProcessState& state);

} // namespace kpl
