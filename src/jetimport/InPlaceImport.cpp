#include "jetimport/InPlaceImport.h"

#include "core/Failure.h"
#include "core/platform/AtomicWrite.h"
#include "database/DbError.h"
#include "jetimport/ImportFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace kpl {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A new empty file beside `target` for the new database, named as every
// temporary file of the program, so that one left by a killed import is
// removed with the others; removed again, with any journal the engine left
// beside it, unless it is kept. No handle stays open on it: Windows renames
// no file that is open.
class ImportedFile {
public:
    explicit ImportedFile(const QString& target) {
        platform::removeStaleTemporaries(target);
        QTemporaryFile file(platform::temporaryFileTemplate(target));
        if (!file.open())
            failImport(QStringLiteral("Cannot create a temporary file beside %1: %2")
                           .arg(shown(target), file.errorString()));
        file.setAutoRemove(false);
        m_path = file.fileName();
    }
    ~ImportedFile() {
        if (!m_kept)
            QFile::remove(m_path);
        QFile::remove(m_path + QStringLiteral("-journal"));
    }
    ImportedFile(const ImportedFile&) = delete;
    ImportedFile& operator=(const ImportedFile&) = delete;

    QString path() const { return m_path; }
    void setPermissions(QFile::Permissions permissions) {
        QFile file(m_path);
        if (!file.setPermissions(permissions))
            failImport(QStringLiteral("Cannot set the permissions of %1: %2")
                           .arg(shown(m_path), file.errorString()));
    }
    void keep() { m_kept = true; }

private:
    QString m_path;
    bool m_kept = false;
};

// Renames `from` over `to` in one step; fails with the system's reason.
void renameOver(const QString& from, const QString& to) {
    if (const std::error_code error = platform::systemFileCalls().rename(from, to))
        failImport(QStringLiteral("Cannot put the imported database in place of %1: %2")
                       .arg(shown(to), QString::fromStdString(error.message())));
}

// Makes the renames in the folder of `placed`, which is in place by now,
// durable; fails with the system's reason.
void syncFolderOf(const QString& placed) {
    if (const std::error_code error =
            platform::systemFileCalls().syncFolder(QFileInfo(placed).absolutePath()))
        failImport(QStringLiteral("The imported database is in place of %1, but its folder "
                                  "cannot be synced to disk: %2")
                       .arg(shown(placed), QString::fromStdString(error.message())));
}

// The import of `jetPath` into `imported`, the new database for `target`;
// the engine's failures come from writing it.
ImportCounts importInto(const QString& jetPath, const ImportedFile& imported,
                        const QString& target) {
    try {
        return importJetDatabase(jetPath, imported.path());
    } catch (const DbError& error) {
        failImport(QStringLiteral("Cannot write the new database for %1: %2")
                       .arg(shown(target), error.description));
    }
}

void keepJetFile(const QString& jetFile) {
    const QString backup = jetBackupPath(jetFile);
    if (const std::optional<platform::WriteFailure> problem = platform::copyFile(jetFile, backup))
        failImport(QStringLiteral("Cannot keep the Jet file as %1: %2")
                       .arg(shown(backup), problem->reason));
}

} // namespace

QString inPlaceTarget(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() ? info.canonicalFilePath() : path;
}

QString jetBackupPath(const QString& path) {
    return path + QStringLiteral(".jet");
}

void requireNoJetBackup(const QString& path) {
    const QString backup = jetBackupPath(inPlaceTarget(path));
    if (QFileInfo::exists(backup) || QFileInfo(backup).isSymLink())
        failImport(QStringLiteral("%1 already exists; a kept Jet file is never overwritten. Move "
                                  "it elsewhere and run the import again.")
                       .arg(shown(backup)));
}

ImportCounts importInPlace(const QString& path) {
    const QString target = inPlaceTarget(path);
    requireNoJetBackup(target);
    ImportedFile imported(target);
    const ImportCounts counts = importInto(target, imported, target);
    imported.setPermissions(QFile::permissions(target));
    keepJetFile(target);
    try {
        renameOver(imported.path(), target);
    } catch (const Failure&) {
        QFile::remove(jetBackupPath(target));
        throw;
    }
    imported.keep();
    syncFolderOf(target);
    return counts;
}

void requireNewFile(const QString& newPath) {
    if (QFileInfo::exists(newPath) || QFileInfo(newPath).isSymLink())
        failImport(QStringLiteral("%1 already exists; the import writes a new file only.")
                       .arg(shown(newPath)));
}

ImportCounts importToNewFile(const QString& jetPath, const QString& newPath) {
    requireNewFile(newPath);
    ImportedFile imported(newPath);
    const ImportCounts counts = importInto(jetPath, imported, newPath);
    imported.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                            QFile::ReadOther);
    renameOver(imported.path(), newPath);
    imported.keep();
    syncFolderOf(newPath);
    return counts;
}

} // namespace kpl
