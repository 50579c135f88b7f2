#pragma once

namespace kpl {

// The process's exit codes, listed in --help and the README.
enum class ExitCode : int {
    Normal = 0,             // dialog left normally, no failure reported
    Ended = 1,              // ended by the error handler, a fatal check, a missing configuration
                            // file, a start outside an installation, another open dialog of the
                            // installation or a wait for another run of it that timed out
    EndedAfterFailures = 2, // ran to its end, but at least one failure was reported on the way
    Cancelled = 3,          // the dialog was cancelled, no failure reported; nothing was written
                            // but the cancel's line in the error log
};

// The signal that ends the process. It unwinds to where the current event
// entered the program (main, or the dialog's event entry), closing what is
// open on the way. It is deliberately not a std::exception and not a Failure,
// so no step of an operation can swallow it.
struct ProcessEnd {
    ExitCode code;
};

} // namespace kpl
