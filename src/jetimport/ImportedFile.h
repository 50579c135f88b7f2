#pragma once

#include "jetimport/JetToSqlite.h"

#include <QFile>
#include <QString>
#include <QStringList>

namespace kpl {

// A new empty file beside `target` for the import of a Jet file, named as
// every temporary file of the program, so that one left by a killed run is
// removed with the others; removed again, with any journal the engine left
// beside it, unless it is kept. No handle stays open on it: Windows renames
// no file that is open.
class ImportedFile {
public:
    explicit ImportedFile(const QString& target);
    ~ImportedFile();
    ImportedFile(const ImportedFile&) = delete;
    ImportedFile& operator=(const ImportedFile&) = delete;

    QString path() const { return m_path; }
    void setPermissions(QFile::Permissions permissions);
    void keep() { m_kept = true; }

    // Imports the Jet file `jetPath` into this file, the new database for
    // `target`, with only `tables` when given (importJetDatabase); a failure
    // of the engine writing it names `target`.
    ImportCounts importFrom(const QString& jetPath, const QString& target,
                            const QStringList& tables = {}) const;

private:
    QString m_path;
    bool m_kept = false;
};

} // namespace kpl
