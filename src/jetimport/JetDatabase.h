#pragma once

#include "jetimport/FileKind.h"
#include "jetimport/JetTable.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace kpl {

// A Jet 3 or Jet 4 file opened read-only through libmdb. Opening checks the
// file first (FileKind.h: no ACE file, nothing truncated), keeps libmdb's
// environment variables out of play for as long as the file is open
// (LibmdbEnvironment.h), and reads the system catalog whole, every row it
// declares and every value, so that a damaged catalog can neither hide
// tables nor mislead libmdb. Failures name the file.
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
    JetTextDecoder textDecoder() const;
    void checkCatalog() const;

    QString m_path;
    FileKind m_kind;
    std::unique_ptr<Handle> m_handle;
};

} // namespace kpl
