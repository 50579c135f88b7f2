#pragma once

#include <QString>

namespace kpl {

// What stands at a database path, judged from the file itself before the
// engine works on it, and its rollback journal.

// Fails when the file is a database of the old engine: a Jet file
// ("Standard Jet DB" at byte offset 4) with the message to import it first,
// an ACE file ("Standard ACE DB"), which cannot be imported, saying so. A
// missing or unreadable file passes; opening it tells what is wrong.
void refuseJetDatabase(const QString& path);

// Fails unless the file is one of this program's databases: an SQLite 3 file
// or an empty one (which the engine takes for an empty database). A database
// of the old engine fails as refuseJetDatabase says, anything else as "file is
// not a database". Nothing is written. A missing file passes.
void requireOwnDatabase(const QString& path);

// Makes sure no rollback journal is left beside the database: a hot journal
// (left by a process that ended in the middle of a write) is rolled back into
// the file it belongs to by opening the database; a journal that remains
// after that holds nothing to roll back and is removed. A journal that cannot
// be rolled back is a failure, and it stays.
void recoverJournal(const QString& path);

} // namespace kpl
