#pragma once

#include <QString>
#include <optional>

namespace kpl {

struct ProcessState;

// The value of `keyword` on the command line in upper case: no value when the
// keyword does not occur, else the text after the keyword and one separator
// character, trimmed, up to the next keyword.
std::optional<QString> ReadCommand(const QString& commandLine, const QString& keyword);

// Decides the start mode from "EXTERNAL" and sets IntegratedMode and
// SilentMode. True only for an integrated start.
bool GetStartModeIntegrated(ProcessState& state);

// The "LOGFILE" value, "" when absent.
QString GetPathLogfile(ProcessState& state);

} // namespace kpl
