#include "core/platform/FileCalls.h"

// The calls themselves are FileCalls_posix.cpp and FileCalls_win.cpp.
namespace kpl::platform {

FileCalls& systemFileCalls() {
    static FileCalls calls;
    return calls;
}

} // namespace kpl::platform
