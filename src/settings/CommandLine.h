#pragma once

#include <QString>

namespace kpl {

struct ProcessState;

// Decides the start mode from "EXTERNAL" and sets IntegratedMode and
// SilentMode. True only for an integrated start.
bool GetStartModeIntegrated(ProcessState& state);

// The "LOGFILE" value (logFileValue), "" when absent.
QString GetPathLogfile(ProcessState& state);

} // namespace kpl
