#pragma once

#include <QString>

namespace kpl {

struct ProcessState;

// The central handler of unexpected failures: logs the failure, tells the
// user and asks whether to continue. Returns 1 (end the program) or 2
// (continue). In silent mode it never asks and always continues.
qint16 ErrorSub(ProcessState& state, qint32 number, const QString& source,
                const QString& description, const QString& procName, bool fatal);

// Ends the process at once after the error handler's answer, a fatal check
// or a missing configuration file (exit code 1).
[[noreturn]] void EndProgram(ProcessState& state);

// Ends the process at the end of a run or a confirmed cancellation: exit
// code 0, or 2 when failures were reported on the way.
[[noreturn]] void FinishProcess(ProcessState& state);

} // namespace kpl
