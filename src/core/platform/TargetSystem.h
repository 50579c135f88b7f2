#pragma once

#include <QtGlobal>

namespace kpl::platform {

// Whether the program was built for Windows, whose rules (paths, code page,
// file times) the program follows; the units of this folder map them to the
// system they run on.
#ifdef Q_OS_WIN
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

} // namespace kpl::platform
