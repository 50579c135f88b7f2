#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kpl {

// What the import did with one table.
struct TableCount {
    QString table;
    qint64 read = 0;     // rows read from the Jet file
    qint64 written = 0;  // rows the new database holds
    qint64 declared = 0; // rows the Jet file declares: a hint, often out of date
};

// What the import did with one Jet file: its tables, and the entries its
// system catalog holds and declares.
struct ImportCounts {
    QList<TableCount> tables;
    qint64 catalogEntries = 0;
    qint64 catalogDeclaredEntries = 0;
};

// Carries every user table of the Jet file `jetPath` over into the database
// at `targetPath` (a new or empty file, made through the database layer):
// the columns in order with their mapped types (JetColumnTypes.h) and every
// row the file's pages hold, with its exact values, whatever number of rows
// the file declares. Fails when the new database holds another number of
// rows than was read. The target is left as far as it got on failure; the
// caller writes it under a temporary name. With `tables`, only those of them
// the file holds are carried over (names compared as the engine does,
// letter case ignored).
ImportCounts importJetDatabase(const QString& jetPath, const QString& targetPath,
                               const QStringList& tables = {});

} // namespace kpl
