#include "jetimport/InPlaceImport.h"

#include "core/Failure.h"
#include "core/platform/AtomicWrite.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/ImportedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kpl {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

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
    const ImportCounts counts = imported.importFrom(target, target);
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
    const ImportCounts counts = imported.importFrom(jetPath, newPath);
    imported.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                            QFile::ReadOther);
    renameOver(imported.path(), newPath);
    imported.keep();
    syncFolderOf(newPath);
    return counts;
}

} // namespace kpl
