#include "settings/Platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>

namespace kpl::platform {

namespace {

#ifdef Q_OS_WIN
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// Unicode code points of Windows-1252 bytes 0x80..0x9F (0 = unassigned).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The entry of `folder` whose name matches `name` regardless of letter case.
QString matchEntry(const QString& folder, const QString& name) {
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

// `path` with every existing component spelled as it stands on disk; the
// components from the first one that does not exist on are kept as given.
QString resolveComponents(const QString& path) {
    if (kWindows || QFileInfo::exists(path))
        return path;
    const QString clean = QDir::cleanPath(path);
    const QStringList parts = clean.split(QLatin1Char('/'));
    QString current = clean.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    bool matching = true;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty())
            continue;
        QString next = part;
        if (matching && !QFileInfo::exists(current + part)) {
            next = matchEntry(current, part);
            if (next.isEmpty()) {
                matching = false;
                next = part;
            }
        }
        current += next;
        if (i + 1 < parts.size())
            current += QLatin1Char('/');
    }
    return current;
}

} // namespace

QChar separator() { return QDir::separator(); }

bool caseSensitiveFileNames() { return !kWindows; }

qsizetype commandValueEnd(const QString& rest) {
    if (kWindows)
        return rest.indexOf(QLatin1Char('/'));
    return rest.indexOf(QLatin1String(" /"));
}

QString findFile(const QString& path) {
    if (path.isEmpty())
        return {};
    const QString resolved = resolveComponents(path);
    const QFileInfo info(resolved);
    return info.isFile() ? resolved : QString();
}

bool fileExists(const QString& path) { return !findFile(path).isEmpty(); }

QString resolveForWrite(const QString& path) {
    if (path.isEmpty())
        return path;
    const QString existing = findFile(path);
    if (!existing.isEmpty())
        return existing;
    const QFileInfo info(path);
    const QString folder = resolveComponents(info.path());
    return folder + separator() + info.fileName();
}

int ansiCode(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    // The five bytes the code page leaves unassigned read as the control
    // characters of the same number and are written back unchanged.
    if (u <= 0x9F && kHighControls[u - 0x80] == 0)
        return u;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == u && u != 0)
            return int(0x80 + i);
    }
    return -1;
}

QByteArray toAnsi(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int code = ansiCode(c);
        out.append(code < 0 ? '?' : char(code));
    }
    return out;
}

QString fromAnsi(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0)
            out.append(QChar(kHighControls[b - 0x80]));
        else
            out.append(QChar(b));
    }
    return out;
}

bool appendLine(const QString& path, const QString& text) {
    if (path.isEmpty())
        return false;
    QFile file(resolveForWrite(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = toAnsi(text) + "\r\n";
    return file.write(line) == line.size();
}

QString serviceLogPath(const QString& environmentOverride) {
    if (!environmentOverride.isEmpty())
        return environmentOverride;
    return kWindows ? QStringLiteral("C:\\TarvoServicePack.log")
                    : QStringLiteral("/var/log/TarvoServicePack.log");
}

QString executableName(const QString& executablePath) {
    const QString file = executableFileName(executablePath);
    if (kWindows && file.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return file.left(file.size() - 4);
    return file;
}

QString executableFileName(const QString& executablePath) {
    return QFileInfo(executablePath).fileName();
}

QString executableFolder(const QString& executablePath) {
    return QDir::toNativeSeparators(QFileInfo(executablePath).absolutePath());
}

bool readFileTimes(const QString& path, FileTimes& times) {
    const QFileInfo info(findFile(path));
    if (!info.isFile())
        return false;
    const QDateTime birth = info.birthTime();
    times.lastWrite = info.lastModified().toMSecsSinceEpoch();
    times.lastAccess = info.lastRead().toMSecsSinceEpoch();
    times.creation = birth.isValid() ? birth.toMSecsSinceEpoch() : times.lastWrite;
    return true;
}

bool restoreFileTimes(const QString& path, const FileTimes& times) {
    QFile file(findFile(path));
    if (!file.open(QIODevice::ReadWrite))
        return false;
    bool ok = file.setFileTime(QDateTime::fromMSecsSinceEpoch(times.lastWrite),
                               QFileDevice::FileModificationTime);
    if (kWindows)
        ok = file.setFileTime(QDateTime::fromMSecsSinceEpoch(times.creation),
                              QFileDevice::FileBirthTime) && ok;
    return ok;
}

} // namespace kpl::platform
