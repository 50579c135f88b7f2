#pragma once

#include <QString>

namespace kpl {

struct ProcessState;
class Procedure;

// Fills VarNameTemplates from Source_DEFS of the source database, row by row
// in table order. A failure while a row is read is not reported: both part-1
// templates become the bare "###Var_Name" and reading goes on.
void LoadVarNameTemplates(ProcessState& state, Procedure& proc, const QString& sourcePath);

} // namespace kpl
