#pragma once

#include <QtGlobal>

namespace kpl::test {

// Drops the one line the offscreen platform prints whenever a window is
// shown ("propagateSizeHints()"); every other message goes on to Qt Test.
void filterOffscreenNoise();

} // namespace kpl::test
