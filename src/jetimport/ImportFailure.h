#pragma once

#include "core/Failure.h"

#include <QString>

namespace kpl {

// The number an import failure carries: the old engine's "Unrecognized
// database format", the nearest of its failures to a file that cannot be
// carried over.
constexpr qint32 kImportFailureNumber = 3343;

// Throws a failure of the Jet import (source "Jet import") with `message`,
// which names the file and, where known, the table and column concerned.
[[noreturn]] void failImport(const QString& message);

} // namespace kpl
