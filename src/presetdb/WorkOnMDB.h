#pragma once

namespace kpl {

struct ProcessState;

// The database side of a confirmed configuration: rebuilds PRESET_DEFS in the
// source database from the templates, fills it for the selected machine,
// takes over the values tuned on the machine and replaces the project
// database with the result. False when it wrote no database: no source
// database, a database that is not the program's own, or an integrated start
// without the host configuration (said once, naming the file).
bool WorkOnMDB(ProcessState& state);

} // namespace kpl
