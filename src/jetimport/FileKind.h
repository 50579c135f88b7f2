#pragma once

#include <QString>

namespace kpl {

// What a database file is, judged by its first bytes. Only a regular file
// is opened to read them: a folder, device or pipe is judged by its kind
// alone (opening a pipe would wait for a writer).
enum class FileKind {
    Missing,    // nothing at that path (a link that leads nowhere is Unreadable)
    NotAFile,   // a folder, device, pipe or socket
    Unreadable, // a file that cannot be opened for reading
    Jet3,       // "Standard Jet DB", version 0 (Access 97)
    Jet4,       // "Standard Jet DB", version 1 (Access 2000 to 2003)
    Ace,        // "Standard ACE DB" or a later version (.accdb, Access 2007 on)
    Sqlite,     // "SQLite format 3"
    Unknown,    // anything else, an empty file among them
};

FileKind fileKind(const QString& path);

// "Jet 3", "Jet 4", ...: for reports.
QString fileKindName(FileKind kind);

// Checks that `path` is a Jet 3 or Jet 4 file that is whole, before libmdb
// sees it: libmdb opens a truncated or empty file without complaint. A Jet
// file consists of whole pages, so a size that is not a multiple of the page
// size means a cut file. Fails with a message naming the file and the
// reason otherwise (for a file that cannot be read, the system's reason).
FileKind requireImportableJetFile(const QString& path);

} // namespace kpl
