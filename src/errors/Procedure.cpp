#include "errors/Procedure.h"

#include "core/ProcessState.h"
#include "core/platform/ExecutableNames.h"
#include "errors/ErrorHandler.h"

namespace kpl {

void Procedure::report(const Failure& failure, bool fatal) {
    // Failures of the program's own statements carry the executable's name
    // as their source, as the old runtime named its project.
    const QString source = failure.source.isEmpty()
                               ? platform::executableName(m_state.runtime.executablePath())
                               : failure.source;
    const ErrorAnswer answer =
        ErrorSub(m_state, failure.number, source, failure.description, m_name, fatal);
    if (answer == ErrorAnswer::End)
        EndProgram(m_state);
}

} // namespace kpl
