#pragma once

#include <QString>

namespace kpl {

// Whether the file at `path` is a database of the old engine: it carries
// "Standard Jet DB" or "Standard ACE DB" at byte offset 4. Such a file has to
// be imported before the program can work on it. False for a file that is
// missing or cannot be read.
bool hasJetSignature(const QString& path);

} // namespace kpl
