#pragma once

namespace kpl {

struct ProcessState;

// The database side of a confirmed configuration: rebuilds PRESET_DEFS in the
// source database from the templates, fills it for the selected machine,
// takes over the values tuned on the machine and replaces the project
// database with the result.
void WorkOnMDB(ProcessState& state);

} // namespace kpl
