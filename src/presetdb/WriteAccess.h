#pragma once

namespace kpl {

struct ProcessState;

// Checked before a confirmation writes anything: whether every file it is
// going to write can be written by this process. In this order: the source
// database and its folder, the project database and its folder (when there
// is a source database to rebuild), the program INI file and the component's
// configuration file, each with its folder (a file is replaced through a new
// file beside it). When one cannot, the first of them is named with the
// system's reason in the error log and in a box (the service log when
// silent), and the result is false: nothing has been written, and the run
// must not begin. A missing configuration file ends the program here.
bool CheckWriteAccess(ProcessState& state);

} // namespace kpl
