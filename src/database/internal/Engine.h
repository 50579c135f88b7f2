#pragma once

#include "LayerOnly.h"
#include "database/DbError.h"

#include <QString>

struct sqlite3;

namespace kpl {

// The engine's side of the layer's public types.

// The last failure of `connection`: SQLite's extended result code as number,
// "SQLite" as source and the engine's message, with the file name where it
// helps, as description.
DbError engineError(sqlite3* connection, const QString& fileName = QString());
// An engine result code the layer has no connection message for.
DbError engineErrorCode(int code, const QString& fileName = QString());

// Makes the text collation (TextCollation.h) known to `connection`; false
// when the engine refuses.
bool registerTextCollation(sqlite3* connection);

} // namespace kpl
