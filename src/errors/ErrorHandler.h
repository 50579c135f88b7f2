#pragma once

#include "core/ExitCode.h"

#include <QString>

namespace kpl {

struct ProcessState;

// What the error handler answers about a failure: end the program, or go on
// with the next step.
enum class ErrorAnswer { End, Continue };

// The central handler of unexpected failures: logs the failure, tells the
// user and asks whether to continue. In silent mode it never asks and always
// continues. A failure that comes again in the same run (same operation,
// number and description) is only counted and continues as the first one
// did; the process end logs one line per repeated failure with its count.
ErrorAnswer ErrorSub(ProcessState& state, qint32 number, const QString& source,
                     const QString& description, const QString& procName, bool fatal);

// Ends the process at once after the error handler's answer, a fatal check
// or a missing configuration file (exit code 1). Both ways out log the
// repeated failures first.
[[noreturn]] void EndProgram(ProcessState& state);

// Ends the process at the end of a run (`outcome` 0) or a confirmed
// cancellation (`outcome` 3): exit code `outcome`, or 2 when failures were
// reported on the way.
[[noreturn]] void FinishProcess(ProcessState& state, ExitCode outcome = ExitCode::Normal);

} // namespace kpl
