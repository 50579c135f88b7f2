#include "database/DatabaseFile.h"

#include "database/Database.h"
#include "database/DbError.h"
#include "internal/Engine.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace kpl {

namespace {

QByteArray head(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(size) : QByteArray();
}

QByteArray signature(const QString& path) {
    return head(path, 19).mid(4);
}

QString journalPath(const QString& path) {
    return path + QStringLiteral("-journal");
}

} // namespace

void refuseJetDatabase(const QString& path) {
    const QByteArray kind = signature(path);
    QString refusal;
    if (kind == "Standard Jet DB")
        refusal = QStringLiteral("%1 is a Jet database. Import it first with "
                                 "KPL_Presets_Config --import-jet.");
    // The import reads no ACE file either: nothing to send the user to.
    if (kind == "Standard ACE DB")
        refusal = QStringLiteral("%1 is an ACE database (.accdb, Access 2007 or later), which "
                                 "this program can neither read nor import.");
    if (!refusal.isEmpty())
        throw DbError(SQLITE_NOTADB, QStringLiteral("SQLite"),
                      refusal.arg(QDir::toNativeSeparators(path)));
}

void requireOwnDatabase(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return;
    refuseJetDatabase(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(
            SQLITE_CANTOPEN, QStringLiteral("SQLite"),
            QStringLiteral("%1 (%2)").arg(file.errorString(), QDir::toNativeSeparators(path)));
    const QByteArray header = file.read(16);
    if (!header.isEmpty() && header != QByteArray("SQLite format 3", 16))
        throw engineErrorCode(SQLITE_NOTADB, QDir::toNativeSeparators(path));
}

void recoverJournal(const QString& path) {
    const QString journal = journalPath(path);
    if (!QFile::exists(journal))
        return;
    if (QFile::exists(path))
        Database::open(path).close(); // the engine rolls a hot journal back on opening
    if (QFile::exists(journal) && !QFile::remove(journal))
        throw DbError(SQLITE_IOERR_DELETE, QStringLiteral("SQLite"),
                      QStringLiteral("The journal %1 cannot be removed.")
                          .arg(QDir::toNativeSeparators(journal)));
}

} // namespace kpl
