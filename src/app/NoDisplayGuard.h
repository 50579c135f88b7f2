#pragma once

#include <QString>

namespace kpl {

// Watches the application object connect to the window system. Where no
// display can be opened (none is named, the one named does not answer,
// QT_QPA_PLATFORM names nothing usable) Qt ends the process with a fatal
// message and an abort; under a guard the process ends instead with exit
// code 1 and one line on standard error that says what to do. Nothing has
// been written at that point of the start.
//
// Qt's other messages are held back while the guard lives (on failure the
// line above says all) and go on as usual when it ends.
class NoDisplayGuard {
public:
    explicit NoDisplayGuard(QString programName);
    ~NoDisplayGuard();
    NoDisplayGuard(const NoDisplayGuard&) = delete;
    NoDisplayGuard& operator=(const NoDisplayGuard&) = delete;
};

} // namespace kpl
