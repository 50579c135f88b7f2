#pragma once

#include <QLatin1String>
#include <QString>

namespace kpl {

struct ProcessState;

// How an installation lies around the program: the executable is named after
// the component it configures plus this suffix, and lies in the component's
// folder of the project.
inline constexpr QLatin1String kExecutableSuffix("_Config");

// The component the executable `executablePath` configures: its name less as
// many characters as the suffix has. A shorter name names no component ("").
QString componentName(const QString& executablePath);

// The executable folder's parent, computed by text: characters are removed
// from the end up to the last separator, which goes as well. A folder that
// ends with a separator (a root) loses only that. It lets no window event
// run: every log write computes it, also while a destructor writes its line
// during unwinding, where no handler of the dialog may run.
QString projectFolder(ProcessState& state);

} // namespace kpl
