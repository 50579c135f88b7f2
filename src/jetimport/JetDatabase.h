#pragma once

#include "jetimport/FileKind.h"
#include "jetimport/JetPages.h"
#include "jetimport/JetTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace kpl {

// A Jet 3 or Jet 4 file opened read-only. libmdb opens the file and reads
// its pages; rows and values are read from the pages by JetTable. Opening
// checks the file first (FileKind.h: no ACE file, nothing truncated) and
// keeps libmdb's environment variables out of play for as long as the file
// is open (LibmdbEnvironment.h).
//
// The user tables are found in the system catalog. Only the catalog's rows
// that describe tables are read, and of them only what the import needs:
// catalog rows about other objects (saved queries, forms, relationships)
// are not the import's business, however they look. Failures name the file.
class JetDatabase {
public:
    explicit JetDatabase(const QString& path);
    ~JetDatabase();
    JetDatabase(const JetDatabase&) = delete;
    JetDatabase& operator=(const JetDatabase&) = delete;

    const QString& path() const { return m_path; }
    FileKind kind() const { return m_kind; }
    bool isJet4() const { return m_kind == FileKind::Jet4; }

    // The user tables (no system tables, no linked tables) in catalog order.
    QStringList userTableNames() const;
    // The table `name`; used while this database is open.
    JetTable openTable(const QString& name) const;

private:
    struct Handle;
    struct UserTable {
        QString name;
        quint32 definitionPage;
    };

    JetTextDecoder textDecoder() const;
    QList<UserTable> readUserTables() const;
    [[noreturn]] void fail(const QString& reason) const;

    QString m_path;
    FileKind m_kind;
    std::unique_ptr<Handle> m_handle;
    std::unique_ptr<JetPages> m_pages;
    QList<UserTable> m_userTables;
};

} // namespace kpl
