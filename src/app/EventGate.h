#pragma once

#include "core/ExitCode.h"

#include <optional>

namespace kpl {

// Where every event of the window enters the model. The end of the process
// (ProcessEnd) never travels through Qt's event loop: the gate catches it,
// ends the application's event loops with its exit code and lets no further
// event through.
class EventGate {
public:
    template <class Handler> void dispatch(Handler&& handler) {
        if (m_end)
            return;
        try {
            handler();
        } catch (const ProcessEnd& end) {
            close(end);
        }
    }

    bool ended() const { return m_end.has_value(); }
    ExitCode exitCode() const { return m_end ? m_end->code : ExitCode::Normal; }

    // A handler that let events run (a message box, pending events) stops
    // here when one of those events ended the process meanwhile.
    void rethrowIfEnded() const;

private:
    void close(const ProcessEnd& end);

    std::optional<ProcessEnd> m_end;
};

} // namespace kpl
