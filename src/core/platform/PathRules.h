#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace kpl::platform {

// The separator the program's paths are composed and split with.
QChar separator();

// Whether file names differ by letter case (a "LOGFILE" path then keeps the
// case it was typed in).
bool caseSensitiveFileNames();

// A path as messages show it, for the user to find the file: in upper case
// where file names ignore letter case, as the program has always shown
// them; elsewhere spelled as on disk (see resolveForWrite).
QString shownPath(const QString& path);

// Where a command-line keyword's value ends inside `rest` (the text after the
// keyword and its separator character): the index of the first "/" on
// Windows; elsewhere, where "/" separates path components, the first "/"
// that follows a blank. None when the value runs to the end.
std::optional<qsizetype> commandValueEnd(const QString& rest);

} // namespace kpl::platform
