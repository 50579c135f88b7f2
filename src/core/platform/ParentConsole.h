#pragma once

namespace kpl::platform {

// A Windows program without a console of its own (no console window flashes
// behind the dialog) writes its standard output and error to the console of
// the program that started it, when that has one and the starter gave no
// other place (a pipe, a file). Elsewhere the streams are already there.
void useParentConsole();

} // namespace kpl::platform
