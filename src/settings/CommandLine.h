#pragma once

#include <QString>

namespace kpl {

struct ProcessState;

// Decides the start mode from "EXTERNAL" and sets IntegratedMode and
// SilentMode. True only for an integrated start.
bool GetStartModeIntegrated(ProcessState& state);

} // namespace kpl
