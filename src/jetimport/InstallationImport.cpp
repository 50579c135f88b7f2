#include "jetimport/InstallationImport.h"

#include "core/Failure.h"
#include "jetimport/FileKind.h"
#include "jetimport/ImportReport.h"
#include "jetimport/InPlaceImport.h"
#include "settings/InstallationLock.h"
#include "settings/ProjectPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kpl {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Everything but a missing file and an SQLite database: a Jet file, and
// anything else there that the checks refuse.
bool needsImport(FileKind kind) {
    return kind != FileKind::Missing && kind != FileKind::Sqlite;
}

// The path, and for a link the file it leads to, which is the one converted.
QString shownWithTarget(const QString& path) {
    const QString target = inPlaceTarget(path);
    return target == path ? shown(path)
                          : QStringLiteral("%1 (a link to %2)").arg(shown(path), shown(target));
}

// Everything that can be known before a file is changed; throws the first
// failure.
void checkBeforeImport(const QList<InstallationDatabase>& databases) {
    for (const InstallationDatabase& database : databases) {
        if (!needsImport(fileKind(database.path)))
            continue;
        requireImportableJetFile(database.path);
        requireNoJetBackup(database.path);
    }
}

bool importOne(const InstallationDatabase& database, QTextStream& out, QTextStream& err) {
    const FileKind kind = fileKind(database.path);
    if (kind == FileKind::Missing) {
        out << database.role << ": not found\n";
        return true;
    }
    out << database.role << ' ' << shownWithTarget(database.path) << ": ";
    if (kind == FileKind::Sqlite) {
        out << "already an SQLite database, left alone\n";
        return true;
    }
    out << fileKindName(kind) << ", importing\n";
    out.flush();
    try {
        printTableCounts(out, importInPlace(database.path));
    } catch (const Failure& failure) {
        err << "Import of " << shown(database.path) << " failed: " << failure.description << '\n'
            << "The file is unchanged; the databases after it were not imported.\n";
        return false;
    }
    out << "  the Jet file is kept as " << shown(jetBackupPath(inPlaceTarget(database.path)))
        << '\n';
    return true;
}

} // namespace

QList<InstallationDatabase> installationDatabases(ProcessState& state) {
    const QList<InstallationDatabase> all{
        {QStringLiteral("Source database"), GetPathSourceOCXMDB(state)},
        {QStringLiteral("Project database"), GetPathOCXMDB(state)},
        {QStringLiteral("Machine copy"),
         GetPathMachineCopyMDB(state, GetN4RConfigurationIniPath(state))},
    };
    QList<InstallationDatabase> distinct;
    QStringList seen;
    for (const InstallationDatabase& database : all) {
        const QString identity = QFileInfo(database.path).canonicalFilePath();
        if (!identity.isEmpty() && seen.contains(identity))
            continue;
        seen.append(identity);
        distinct.append(database);
    }
    return distinct;
}

bool importInstallation(ProcessState& state, QTextStream& out, QTextStream& err) {
    // No update run may work on the databases while they are replaced.
    const platform::FileLock lock = lockInstallation(state);
    const QList<InstallationDatabase> databases = installationDatabases(state);
    try {
        checkBeforeImport(databases);
    } catch (const Failure& failure) {
        err << "Import stopped before any file was changed: " << failure.description << '\n';
        return false;
    }
    for (const InstallationDatabase& database : databases) {
        if (!importOne(database, out, err))
            return false;
    }
    out.flush();
    return true;
}

} // namespace kpl
