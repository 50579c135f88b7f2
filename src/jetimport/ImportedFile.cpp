#include "jetimport/ImportedFile.h"

#include "core/platform/AtomicWrite.h"
#include "database/DbError.h"
#include "jetimport/ImportFailure.h"

#include <QDir>
#include <QTemporaryFile>

namespace kpl {

ImportedFile::ImportedFile(const QString& target) {
    platform::removeStaleTemporaries(target);
    QTemporaryFile file(platform::temporaryFileTemplate(target));
    if (!file.open())
        failImport(QStringLiteral("Cannot create a temporary file beside %1: %2")
                       .arg(QDir::toNativeSeparators(target), file.errorString()));
    file.setAutoRemove(false);
    m_path = file.fileName();
}

ImportedFile::~ImportedFile() {
    if (!m_kept)
        QFile::remove(m_path);
    QFile::remove(m_path + QStringLiteral("-journal"));
}

void ImportedFile::setPermissions(QFile::Permissions permissions) {
    QFile file(m_path);
    if (!file.setPermissions(permissions))
        failImport(QStringLiteral("Cannot set the permissions of %1: %2")
                       .arg(QDir::toNativeSeparators(m_path), file.errorString()));
}

ImportCounts ImportedFile::importFrom(const QString& jetPath, const QString& target,
                                      const QStringList& tables) const {
    try {
        return importJetDatabase(jetPath, m_path, tables);
    } catch (const DbError& error) {
        failImport(QStringLiteral("Cannot write the new database for %1: %2")
                       .arg(QDir::toNativeSeparators(target), error.description));
    }
}

} // namespace kpl
