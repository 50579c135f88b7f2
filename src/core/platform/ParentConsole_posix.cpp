#include "core/platform/ParentConsole.h"

namespace kpl::platform {

void useParentConsole() {}

} // namespace kpl::platform
