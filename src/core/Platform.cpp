#include "core/Platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

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

QChar separator() {
    return QDir::separator();
}

bool caseSensitiveFileNames() {
    return !kWindows;
}

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

bool fileExists(const QString& path) {
    return !findFile(path).isEmpty();
}

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

std::optional<QString> appendLine(const QString& path, const QString& text) {
    if (path.isEmpty())
        return QStringLiteral("no file was named");
    QFile file(resolveForWrite(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return file.errorString();
    const QByteArray line = toAnsi(text) + "\r\n";
    if (file.write(line) != line.size() || !file.flush())
        return file.errorString();
    return std::nullopt;
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

namespace {

bool hasDotComponent(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    return parts.contains(QStringLiteral(".")) || parts.contains(QStringLiteral(".."));
}

bool sameFile(const QString& a, const QString& b) {
    const QString real = QFileInfo(a).canonicalFilePath();
    return !real.isEmpty() && real == QFileInfo(b).canonicalFilePath();
}

// The command `name` as the shell finds it: the first executable file of
// that name in the folders of `searchPath`; an empty entry stands for the
// working directory.
QString findCommand(const QString& name, const QDir& workingDirectory, const QString& searchPath) {
    for (const QString& folder : searchPath.split(QLatin1Char(':'))) {
        const QDir dir(folder.isEmpty() ? workingDirectory
                                        : QDir(workingDirectory.absoluteFilePath(folder)));
        const QFileInfo candidate(dir.absoluteFilePath(name));
        if (candidate.isFile() && candidate.isExecutable())
            return candidate.filePath();
    }
    return {};
}

} // namespace

QString workingDirectory(const QString& shellPwd) {
    const QString current = QDir::currentPath();
    if (kWindows || !QDir::isAbsolutePath(shellPwd) || hasDotComponent(shellPwd) ||
        !sameFile(shellPwd, current))
        return current;
    return QDir::cleanPath(shellPwd);
}

QString startedExecutablePath(const QString& startPath, const QString& workingDirectory,
                              const QString& searchPath, const QString& runningFile) {
    if (kWindows || startPath.isEmpty())
        return runningFile;
    const QDir base(workingDirectory);
    const QString started = startPath.contains(QLatin1Char('/'))
                                ? base.absoluteFilePath(startPath)
                                : findCommand(startPath, base, searchPath);
    const QString clean = QDir::cleanPath(started);
    return sameFile(clean, runningFile) ? clean : runningFile;
}

#ifdef Q_OS_WIN

namespace {
// FILETIME counts 100 ns from 1601-01-01; FileTimes nanoseconds from 1970.
constexpr qint64 kFileTimeEpochOffset = 116444736000000000LL;

qint64 fromFileTime(const FILETIME& time) {
    const qint64 ticks = (qint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (ticks - kFileTimeEpochOffset) * 100;
}

FILETIME toFileTime(qint64 nanoseconds) {
    const quint64 ticks = quint64(nanoseconds / 100 + kFileTimeEpochOffset);
    return FILETIME{DWORD(ticks & 0xFFFFFFFFu), DWORD(ticks >> 32)};
}

HANDLE openForTimes(const QString& path, DWORD access) {
    return CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
} // namespace

bool readFileTimes(const QString& path, FileTimes& times) {
    const HANDLE file = openForTimes(QDir::toNativeSeparators(findFile(path)), GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME creation{}, access{}, write{};
    const bool ok = GetFileTime(file, &creation, &access, &write);
    CloseHandle(file);
    if (ok)
        times = {fromFileTime(creation), fromFileTime(access), fromFileTime(write)};
    return ok;
}

bool restoreFileTimes(const QString& path, const FileTimes& times) {
    const HANDLE file =
        openForTimes(QDir::toNativeSeparators(findFile(path)), FILE_WRITE_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const FILETIME creation = toFileTime(times.creation);
    const FILETIME write = toFileTime(times.lastWrite);
    const bool ok = SetFileTime(file, &creation, nullptr, &write);
    CloseHandle(file);
    return ok;
}

#else

namespace {
qint64 nanoseconds(const timespec& time) {
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}
} // namespace

bool readFileTimes(const QString& path, FileTimes& times) {
    const QString found = findFile(path);
    struct stat info {};
    if (found.isEmpty() || ::stat(QFile::encodeName(found).constData(), &info) != 0)
        return false;
    times.lastWrite = nanoseconds(info.st_mtim);
    times.lastAccess = nanoseconds(info.st_atim);
    // The creation time cannot be set here: it is only noted.
    const QDateTime birth = QFileInfo(found).birthTime();
    times.creation = birth.isValid() ? birth.toMSecsSinceEpoch() * 1000000 : times.lastWrite;
    return true;
}

bool restoreFileTimes(const QString& path, const FileTimes& times) {
    const QString found = findFile(path);
    const timespec set[2] = {
        {0, UTIME_OMIT},
        {time_t(times.lastWrite / 1000000000), long(times.lastWrite % 1000000000)}};
    return !found.isEmpty() &&
           ::utimensat(AT_FDCWD, QFile::encodeName(found).constData(), set, 0) == 0;
}

#endif

} // namespace kpl::platform
