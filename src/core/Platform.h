#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

// How the program's Windows rules map to the system it runs on: the path
// separator, file names found regardless of letter case, the Windows-1252
// code page of INI files and logs, the service log's place, the executable's
// name, the end of a command-line value and file times. Nothing else in the
// program asks which system it runs on.
namespace kpl::platform {

// The separator the program's paths are composed and split with.
QChar separator();

// Whether file names differ by letter case (a "LOGFILE" path then keeps the
// case it was typed in).
bool caseSensitiveFileNames();

// Where a command-line keyword's value ends inside `rest` (the text after the
// keyword and its separator character): the index of the first "/" on
// Windows; elsewhere, where "/" separates path components, the first "/"
// that follows a blank. -1 when the value runs to the end.
qsizetype commandValueEnd(const QString& rest);

// The existing regular file `path` names, each path component matched
// regardless of letter case when the exact spelling does not exist; "" when
// there is none. An empty path never exists.
QString findFile(const QString& path);
bool fileExists(const QString& path);

// The path to write `path` under: an existing file found as findFile finds
// it, else the existing folder found regardless of letter case with the file
// name spelled as given.
QString resolveForWrite(const QString& path);

// Windows-1252 conversion; characters outside the code page become "?".
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);
// The character's code in Windows-1252, or -1 when it has none.
int ansiCode(QChar c);

// Appends `text` and CR LF to the file in Windows-1252, creating it when
// missing. The system's reason when the file cannot be written.
std::optional<QString> appendLine(const QString& path, const QString& text);

// The service log: "C:\TarvoServicePack.log" on Windows,
// /var/log/TarvoServicePack.log elsewhere, or the file that KPL_SERVICE_LOG
// names in the environment the program was given.
QString serviceLogPath(const QString& environmentOverride);

// The executable's name without folder and extension.
QString executableName(const QString& executablePath);
// The program file's own name as it stands in the folder.
QString executableFileName(const QString& executablePath);
// The folder that holds the executable, without trailing separator.
QString executableFolder(const QString& executablePath);

// The executable's path is the path the program was started by, symbolic
// links kept: a link in a component folder to a program installed elsewhere
// configures the component of that folder, and a link named after another
// component configures that one.

// The working directory as the shell that started the program sees it:
// `shellPwd` (the PWD it passes on) when that is an absolute path without "."
// or ".." components naming the current directory, so a folder entered
// through a link keeps the link; else the current directory.
QString workingDirectory(const QString& shellPwd);

// The path `startPath` (the program's first argument) started the program
// by: made absolute against `workingDirectory` when it holds a folder, else
// the first executable file of that name in the folders of `searchPath`
// (PATH), as the shell looks a command up. `runningFile`, the program file's
// real location, when that path does not lead to it (a start under another
// name) and on Windows, where the system reports the started file itself.
QString startedExecutablePath(const QString& startPath, const QString& workingDirectory,
                              const QString& searchPath, const QString& runningFile);

// Creation, last access and last write time of a file, to the precision the
// file system keeps (100 ns on Windows, 1 ns on Linux). Where the system
// cannot set a creation time, only the last-write time is restored.
struct FileTimes {
    qint64 creation = 0; // nanoseconds since 1970-01-01 UTC; 0 = unknown
    qint64 lastAccess = 0;
    qint64 lastWrite = 0;
    bool isZero() const { return creation == 0 && lastAccess == 0 && lastWrite == 0; }
};
bool readFileTimes(const QString& path, FileTimes& times);
// Sets creation (where possible) and last-write time; the last-access time
// is left as it is.
bool restoreFileTimes(const QString& path, const FileTimes& times);

} // namespace kpl::platform
