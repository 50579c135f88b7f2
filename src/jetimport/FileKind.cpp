#include "jetimport/FileKind.h"

#include "jetimport/ImportFailure.h"
#include "jetimport/JetFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kpl {

namespace {

// The file header: the format name at offset 4, the Jet version at 0x14.
constexpr qsizetype kHeaderSize = 0x15;
constexpr qsizetype kSignatureOffset = 4;
constexpr qsizetype kVersionOffset = 0x14;

FileKind jetKind(const QByteArray& header) {
    const QByteArray signature = header.mid(kSignatureOffset, 16);
    if (signature == QByteArray("Standard ACE DB", 16))
        return FileKind::Ace;
    if (signature != QByteArray("Standard Jet DB", 16))
        return FileKind::Unknown;
    if (header.size() <= kVersionOffset)
        return FileKind::Unknown;
    switch (header.at(kVersionOffset)) {
    case 0:
        return FileKind::Jet3;
    case 1:
        return FileKind::Jet4;
    default:
        return FileKind::Ace;
    }
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Why the system does not open `path` for reading, and where a link leads.
QString unreadableReason(const QString& path) {
    QFile file(path);
    const QString reason = file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
    const QFileInfo info(path);
    if (!info.isSymLink())
        return reason;
    return QStringLiteral("%1 (it is a link to %2)").arg(reason, nativePath(info.symLinkTarget()));
}

} // namespace

FileKind fileKind(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return FileKind::Missing;
    if (info.exists() && !info.isFile())
        return FileKind::NotAFile;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileKind::Unreadable;
    const QByteArray header = file.read(kHeaderSize);
    if (header.startsWith(QByteArray("SQLite format 3", 16)))
        return FileKind::Sqlite;
    return jetKind(header);
}

QString fileKindName(FileKind kind) {
    switch (kind) {
    case FileKind::Missing:
        return QStringLiteral("missing");
    case FileKind::NotAFile:
        return QStringLiteral("not a file");
    case FileKind::Unreadable:
        return QStringLiteral("unreadable");
    case FileKind::Jet3:
        return QStringLiteral("Jet 3");
    case FileKind::Jet4:
        return QStringLiteral("Jet 4");
    case FileKind::Ace:
        return QStringLiteral("ACE");
    case FileKind::Sqlite:
        return QStringLiteral("SQLite");
    case FileKind::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

FileKind requireImportableJetFile(const QString& path) {
    const FileKind kind = fileKind(path);
    switch (kind) {
    case FileKind::Missing:
        failImport(QStringLiteral("%1 does not exist.").arg(nativePath(path)));
    case FileKind::NotAFile:
        failImport(QStringLiteral("%1 is a folder, device or pipe, not a database file.")
                       .arg(nativePath(path)));
    case FileKind::Unreadable:
        failImport(
            QStringLiteral("%1 cannot be read: %2.").arg(nativePath(path), unreadableReason(path)));
    case FileKind::Ace:
        failImport(QStringLiteral("%1 is an ACE database (.accdb, Access 2007 or later); only "
                                  "Jet 3 and Jet 4 databases (.mdb) can be imported.")
                       .arg(nativePath(path)));
    case FileKind::Sqlite:
        failImport(QStringLiteral("%1 is already an SQLite database.").arg(nativePath(path)));
    case FileKind::Unknown:
        failImport(QStringLiteral("%1 is no Jet database.").arg(nativePath(path)));
    case FileKind::Jet3:
    case FileKind::Jet4:
        break;
    }
    const qint64 size = QFileInfo(path).size();
    const int pageSize = JetFormat::of(kind).pageSize;
    if (size < pageSize || size % pageSize != 0)
        failImport(QStringLiteral("%1 is truncated or damaged: its size, %2 bytes, is not a whole "
                                  "number of %3-byte pages.")
                       .arg(nativePath(path))
                       .arg(size)
                       .arg(pageSize));
    return kind;
}

} // namespace kpl
