#include "jetimport/InPlaceImport.h"

#include "jetimport/ImportFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace kpl {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A new empty file beside `target`; removed again unless it is renamed.
void createTemporaryBeside(QTemporaryFile& file, const QString& target) {
    file.setFileTemplate(target + QStringLiteral(".importing-XXXXXX"));
    if (!file.open())
        failImport(QStringLiteral("Cannot create a temporary file beside %1: %2")
                       .arg(shown(target), file.errorString()));
    file.close();
}

std::filesystem::path fileSystemPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

QString jetBackupPath(const QString& path) {
    return path + QStringLiteral(".jet");
}

void requireNoJetBackup(const QString& path) {
    const QString backup = jetBackupPath(path);
    if (QFileInfo::exists(backup))
        failImport(QStringLiteral("%1 already exists; a kept Jet file is never overwritten. Move "
                                  "it elsewhere and run the import again.")
                       .arg(shown(backup)));
}

QList<TableCount> importInPlace(const QString& path) {
    requireNoJetBackup(path);
    QTemporaryFile imported;
    createTemporaryBeside(imported, path);
    const QList<TableCount> counts = importJetDatabase(path, imported.fileName());
    imported.setPermissions(QFile::permissions(path));
    const QString backup = jetBackupPath(path);
    if (!QFile::copy(path, backup))
        failImport(QStringLiteral("Cannot keep the Jet file as %1.").arg(shown(backup)));
    std::error_code error;
    std::filesystem::rename(fileSystemPath(imported.fileName()), fileSystemPath(path), error);
    if (error) {
        QFile::remove(backup);
        failImport(QStringLiteral("Cannot put the imported database in place of %1: %2")
                       .arg(shown(path), QString::fromStdString(error.message())));
    }
    imported.setAutoRemove(false);
    return counts;
}

QList<TableCount> importToNewFile(const QString& jetPath, const QString& newPath) {
    if (QFileInfo::exists(newPath))
        failImport(QStringLiteral("%1 already exists; the import writes a new file only.")
                       .arg(shown(newPath)));
    QTemporaryFile imported;
    createTemporaryBeside(imported, newPath);
    const QList<TableCount> counts = importJetDatabase(jetPath, imported.fileName());
    imported.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                            QFile::ReadOther);
    if (!imported.rename(newPath))
        failImport(
            QStringLiteral("Cannot write %1: %2").arg(shown(newPath), imported.errorString()));
    imported.setAutoRemove(false);
    return counts;
}

} // namespace kpl
