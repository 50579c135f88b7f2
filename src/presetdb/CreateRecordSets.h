#pragma once

namespace kpl {

struct ProcessState;
class Database;
class ProjectDatabase;

// Fills the freshly re-created PRESET_DEFS of the source database with one
// record per template row of Source_PRESET_DEFS for the selected machine,
// with the machine's name and the part's variable name put in, and has old
// records of the project database renamed to the variable names in use.
// Returns the number of records saved.
int CreateRecordSets(ProcessState& state, Database& source, ProjectDatabase& project);

} // namespace kpl
