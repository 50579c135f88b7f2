#pragma once

#include <QString>

namespace kpl {

struct ProcessState;
class ProjectDatabase;

// Renames an old column CATEGORIE (any letter case) of the project
// database's PRESET_DEFS to category_id.
void CategorieNachCategoryID(ProcessState& state, ProjectDatabase& project);

// Gives the old records named for the other HMI variant the name built for
// the variant in use.
void VarNameInQuelleErsetzen(ProcessState& state, ProjectDatabase& project,
                             const QString& nameVisiWin32, const QString& nameVisiWinStudio);

} // namespace kpl
