#pragma once

#include "core/platform/FileLock.h"

#include <chrono>

namespace kpl {

struct ProcessState;

// The lock file of an installation: "<executable name>.lock" in the
// component folder, beside the executable.
QString installationLockPath(const ProcessState& state);

// One run at a time per installation: waits up to `wait` for the
// installation's lock, letting events run, and returns it held. When another
// run holds it all that time, the process ends (exit code 1) with a line in
// the error log and a fault report (a box, or the service log when silent),
// having written nothing else. Where no lock file can be made (a read-only
// folder) the run goes on without the lock.
platform::FileLock lockInstallation(ProcessState& state,
                                    std::chrono::milliseconds wait = std::chrono::seconds(30));

} // namespace kpl
