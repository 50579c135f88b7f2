#include "core/platform/RuntimeFolder.h"

namespace kpl::platform {

// Windows has no such folder to name.
void nameRuntimeFolderWhereUnset() {}

} // namespace kpl::platform
