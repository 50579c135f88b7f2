#include "core/platform/ParentConsole.h"

#include <windows.h>

#include <cstdio>

namespace kpl::platform {

namespace {
bool givenByStarter(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}
} // namespace

void useParentConsole() {
    const bool output = givenByStarter(STD_OUTPUT_HANDLE);
    const bool error = givenByStarter(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!output)
        std::freopen("CONOUT$", "w", stdout);
    if (!error)
        std::freopen("CONOUT$", "w", stderr);
}

} // namespace kpl::platform
