#pragma once

#include <QString>

namespace kpl {

// A message text as the screen shows it: every LF CR pair the program
// composes, every CR LF of an information text and any single CR or LF
// become one line break ("\n").
QString screenLines(const QString& text);

} // namespace kpl
