#pragma once

namespace kpl::platform {

// Where the session named no per-user runtime folder (XDG_RUNTIME_DIR is
// unset after sudo, su or a start by a service), names the one Qt falls back
// to, <temp folder>/runtime-<user>, before the window system is started. Qt
// looks for a display server's socket there and would warn on standard error
// at every start that the variable is not set; it still creates the folder,
// and warns when the folder is not the user's own. Nothing happens where the
// variable is set, and on Windows.
void nameRuntimeFolderWhereUnset();

} // namespace kpl::platform
