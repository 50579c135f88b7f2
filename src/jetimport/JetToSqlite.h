#pragma once

#include <QList>
#include <QString>

namespace kpl {

// What the import did with one table.
struct TableCount {
    QString table;
    qint64 read = 0;    // rows read from the Jet file
    qint64 written = 0; // rows the new database holds
};

// Carries every user table of the Jet file `jetPath` over into the database
// at `targetPath` (a new or empty file, made through the database layer):
// the columns in order with their mapped types (JetColumnTypes.h) and every
// row with its exact values. Fails when a table yields another number of
// rows than the file declares for it, or the new database holds another
// number than was read. The target is left as far as it got on failure; the
// caller writes it under a temporary name.
QList<TableCount> importJetDatabase(const QString& jetPath, const QString& targetPath);

} // namespace kpl
