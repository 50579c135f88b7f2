#pragma once

#include "core/Failure.h"

#include <QString>
#include <exception>
#include <new>
#include <optional>
#include <utility>

namespace kpl {

struct ProcessState;

// The error-handling convention of every operation. An operation creates one
// Procedure with its own name and runs each of its steps through it. A
// failure inside a step goes to ErrorSub under that name; the answer "end"
// ends the process (EndProgram throws ProcessEnd past every step), the answer
// "continue" goes on with the next step:
//  - a failed step is not repeated,
//  - a value the step was to assign keeps its previous content (assign),
//  - a failed condition test runs the steps it guards (test returns true).
class Procedure {
public:
    Procedure(ProcessState& state, QString name) : m_state(state), m_name(std::move(name)) {}
    Procedure(const Procedure&) = delete;
    Procedure& operator=(const Procedure&) = delete;

    const QString& name() const { return m_name; }
    void rename(QString name) { m_name = std::move(name); }

    // Runs one step; false when it failed and the program continues.
    template <class Body> bool step(Body&& body) {
        try {
            std::forward<Body>(body)();
            return true;
        } catch (const Failure& failure) {
            handle(failure);
        } catch (const std::bad_alloc&) {
            handle(vbFailure(vb::OutOfMemory));
        } catch (const std::bad_optional_access&) {
            // An object that failed to open, used all the same.
            handle(vbFailure(vb::ObjectNotSet));
        } catch (const std::exception&) {
            // The library's own text means nothing to the user: anything
            // else unforeseen is an invalid call, under its standard text.
            handle(vbFailure(vb::InvalidCall));
        }
        return false;
    }

    template <class T, class Compute> bool assign(T& target, Compute&& compute) {
        return step([&] { target = std::forward<Compute>(compute)(); });
    }

    template <class Condition> bool test(Condition&& condition) {
        bool result = true;
        step([&] { result = std::forward<Condition>(condition)(); });
        return result;
    }

    // Hands a failure the operation detected itself to the error handler,
    // with the fatal flag where the operation asks for it.
    void report(const Failure& failure, bool fatal = false);

private:
    void handle(const Failure& failure) { report(failure, false); }

    ProcessState& m_state;
    QString m_name;
};

} // namespace kpl
