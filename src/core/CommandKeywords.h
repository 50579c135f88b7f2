#pragma once

#include <QString>
#include <optional>

namespace kpl {

// The keywords of the command line and how their values are read: a keyword
// is found wherever it stands, letter case ignored; its value starts one
// separator character after it and ends at the next keyword.

// The value of `keyword` on the command line in upper case: no value when the
// keyword does not occur, else the text after the keyword and one separator
// character, trimmed, up to the next keyword.
std::optional<QString> ReadCommand(const QString& commandLine, const QString& keyword);

// The "LOGFILE" value, the error log of an integrated start; "" when absent.
// Where file names differ by letter case the path keeps the case it was
// typed in.
QString logFileValue(const QString& commandLine);

} // namespace kpl
