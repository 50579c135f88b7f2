#pragma once

#include "core/platform/FileCalls.h"

#include <QString>

namespace kpl {

class Database;

// Writes the table `table` of `database` into the Jet 4 file `jetPath` in
// place of the Jet table of that name (rebuildJetTable): its columns in
// order, Text with its length, Byte, Short as Integer, Long, Single, Double,
// Currency, Decimal, Date/Time and Boolean as Yes/No, and every row. Fails
// (the Jet file unchanged) for a column of another type, a Text column
// without a length or longer than 255 characters, and whatever the rebuild
// refuses.
void exportTableToJet(Database& database, const QString& table, const QString& jetPath,
                      platform::FileCalls& calls = platform::systemFileCalls());

} // namespace kpl
