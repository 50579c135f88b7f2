#pragma once

#include <QString>

namespace kpl {

struct ProcessState;

// Records the program version with the start mode ("S_Prog") and the encoded
// editor text ("S_Editor") in section "Info" of the configuration file.
void WriteEditInfo(ProcessState& state);

// The editor text encoded as stored: "-" and "_" dropped, every other
// character as the upper-case hexadecimal of its Windows-1252 code plus 5.
QString encodeEditor(const QString& text);

// The value of the first environment entry (the whole entry without "="),
// whatever that entry's name: the editor record has always been made from
// the first entry, not from one looked up by name, and keeps meaning what
// the records already written in the configuration files mean.
QString firstEnvironmentValue(const ProcessState& state);

} // namespace kpl
