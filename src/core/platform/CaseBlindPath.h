#pragma once

#include <QString>

namespace kpl::platform {

// Files are named as on Windows, where letter case does not tell names
// apart: a path finds its file however its components are spelled.

// The existing regular file `path` names, each path component matched
// regardless of letter case when the exact spelling does not exist; "" when
// there is none. An empty path never exists.
QString findFile(const QString& path);
bool fileExists(const QString& path);

// The path to write `path` under: an existing file found as findFile finds
// it, else the existing folder found regardless of letter case with the file
// name spelled as given.
QString resolveForWrite(const QString& path);

} // namespace kpl::platform
