#pragma once

#include "jetimport/FileKind.h"
#include "jetimport/JetCatalog.h"
#include "jetimport/JetPageFile.h"
#include "jetimport/JetPages.h"
#include "jetimport/JetTable.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace kpl {

// A Jet 3 or Jet 4 file opened read-only. Its pages come from JetPageFile,
// rows and values are read from them by JetTable, the user tables found in
// the system catalog (JetCatalog.h). Opening checks the file first
// (FileKind.h: no ACE file, nothing truncated) and its header (no encrypted
// file). Failures name the file.
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
    // What the system catalog holds and declares.
    const JetCatalog& catalog() const { return m_catalog; }
    // The table `name`; used while this database is open.
    JetTable openTable(const QString& name) const;

private:
    JetTextDecoder textDecoder() const;
    [[noreturn]] void fail(const QString& reason) const;

    QString m_path;
    FileKind m_kind;
    std::unique_ptr<JetPageFile> m_file;
    std::unique_ptr<JetPages> m_pages;
    JetCatalog m_catalog;
};

} // namespace kpl
