#pragma once

#include <QString>

namespace kpl {

struct ProcessState;

// Appends `text` to the error log of the current start mode and returns the
// notice for the user: "Error logged to " LF CR + the log's path as
// platform::shownPath shows it, or, when the line could not be written, that
// it was not and why.
QString WriteErrorLog(ProcessState& state, const QString& text);

// Shows `text` in a critical box titled with the executable's name, or in
// silent mode appends it to the service log.
void ReportFault(ProcessState& state, const QString& text);

// Appends "! Fault <executable name>: " + `text` to the service log.
void LogFault(ProcessState& state, const QString& text);

// The error log's path in the current start mode.
QString errorLogPath(ProcessState& state);

} // namespace kpl
