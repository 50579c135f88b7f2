#pragma once

#include "core/platform/FileLock.h"

#include <chrono>
#include <optional>

namespace kpl {

struct ProcessState;

// The lock file of an installation: "<executable name>.lock" in the
// component folder, beside the executable.
QString installationLockPath(const ProcessState& state);

// The lock an open dialog of the installation holds:
// "<executable name>.dialog.lock" beside the run's lock file.
QString dialogLockPath(const ProcessState& state);

// One dialog per installation: the dialog lock, taken without waiting, for
// the dialog to hold until the process ends. None when another dialog of
// the installation holds it. Where no lock file can be made (a read-only
// folder) the dialog goes on without the lock.
std::optional<platform::FileLock> lockDialog(const ProcessState& state);

// One run at a time per installation: waits up to `wait` for the
// installation's lock, letting events run, and returns it held. When another
// run holds it all that time, the process ends (exit code 1) with a line in
// the error log and a fault report (a box, or the service log when silent),
// having written nothing else. Where no lock file can be made (a read-only
// folder) the run goes on without the lock.
platform::FileLock lockInstallation(ProcessState& state,
                                    std::chrono::milliseconds wait = std::chrono::seconds(30));

} // namespace kpl
