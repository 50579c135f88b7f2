#include "settings/ProjectPaths.h"

#include "core/ProcessState.h"
#include "core/ProjectLayout.h"
#include "core/platform/CaseBlindPath.h"
#include "core/platform/PathRules.h"
#include "errors/ErrorHandler.h"
#include "errors/LineBreak.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "settings/Ini.h"

#include <QFile>
#include <QFileInfo>

namespace kpl {

namespace {

QString sep() {
    return QString(platform::separator());
}

QString componentFile(ProcessState& state, const QString& suffix) {
    const QString component = GetOCXName(state);
    return projectFolder(state) + sep() + component + sep() + component + suffix;
}

// Where `item` first occurs in `text`, letter case ignored. An item that
// starts with an ASCII character that is no letter (the placeholders start
// with '#') is looked for at the places of that character only, which spares
// the case-folding search through every text of every record.
qsizetype indexIgnoringCase(QStringView text, QStringView item) {
    const QChar first = item.isEmpty() ? QChar() : item.front();
    if (item.isEmpty() || first.unicode() >= 0x80 || first.isLetter())
        return text.indexOf(item, 0, Qt::CaseInsensitive);
    for (qsizetype at = text.indexOf(first); at >= 0 && at + item.size() <= text.size();
         at = text.indexOf(first, at + 1)) {
        if (text.mid(at, item.size()).compare(item, Qt::CaseInsensitive) == 0)
            return at;
    }
    return -1;
}

// The path when the file exists (spelled as found), else "".
QString ifExists(const QString& path) {
    return platform::findFile(path);
}

// The file `name` in the project's parameter folder.
QString parameterFile(ProcessState& state, const QString& name) {
    return projectFolder(state) + sep() + QStringLiteral("parameter") + sep() + name;
}

QString restoreFolder(ProcessState& state, const QString& iniFile) {
    return LoadIniString(state, QStringLiteral("Common"), QStringLiteral("SaveAndRestore"), iniFile,
                         false);
}

} // namespace

QString underRestoreFolder(const QString& restore, const QString& name) {
    return restore.endsWith(platform::separator()) ? restore + name : restore + sep() + name;
}

QString GetN4RConfigurationIniPath(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetN4RConfigurationIniPath"));
    QString path;
    proc.assign(path, [&] { return ifExists(expectedN4RConfigurationIniPath(state)); });
    return path;
}

QString expectedN4RConfigurationIniPath(ProcessState& state) {
    return parameterFile(state, QStringLiteral("n4rconfiguration.ini"));
}

QString GetProgramIniPath(ProcessState& state, IniAccess access) {
    Procedure proc(state, QStringLiteral("GetProgramIniPath"));
    QString path;
    if (proc.test([&] { return access == IniAccess::Read && state.integratedMode; })) {
        proc.assign(path, [&] {
            const QString restore = restoreFolder(state, GetN4RConfigurationIniPath(state));
            return ifExists(underRestoreFolder(restore, QStringLiteral("parameter") + sep() +
                                                            QStringLiteral("program.ini")));
        });
        return path;
    }
    proc.assign(path,
                [&] { return ifExists(parameterFile(state, QStringLiteral("Program.ini"))); });
    return path;
}

QString programIniReadProblem(ProcessState& state) {
    const QString found = GetProgramIniPath(state, IniAccess::Read);
    if (!found.isEmpty()) {
        QFile file(found);
        return file.open(QIODevice::ReadOnly) ? QString()
                                              : found + QStringLiteral(" cannot be read");
    }
    const QString notFound = QStringLiteral(" was not found");
    if (!state.integratedMode)
        return parameterFile(state, QStringLiteral("Program.ini")) + notFound;
    const QString host = GetN4RConfigurationIniPath(state);
    if (host.isEmpty())
        return expectedN4RConfigurationIniPath(state) + notFound;
    const QString restore = restoreFolder(state, host);
    if (restore.isEmpty())
        return host + QStringLiteral(" names no restore folder ([Common] SaveAndRestore)");
    return underRestoreFolder(restore,
                              QStringLiteral("parameter") + sep() + QStringLiteral("program.ini")) +
           notFound;
}

QString GetCFGPath(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetCFGPath"));
    QString path;
    proc.assign(path, [&] { return componentFile(state, QStringLiteral(".cfg")); });
    const QString found = ifExists(path);
    if (!found.isEmpty())
        return found;
    ReportFault(state, QStringLiteral("File not found: ") + lfCr() + path.toUpper());
    EndProgram(state);
}

QString missingConfigurationFile(ProcessState& state) {
    const QString path = componentFile(state, QStringLiteral(".cfg"));
    return ifExists(path).isEmpty() ? path : QString();
}

bool hasProjectParameterFolder(ProcessState& state) {
    // The folder as a file in it would be written: found regardless of case.
    const QString inside = platform::resolveForWrite(parameterFile(state, QStringLiteral("-")));
    return QFileInfo(QFileInfo(inside).path()).isDir();
}

QString GetOCXName(ProcessState& state) {
    return componentName(state.runtime.executablePath());
}

QString GetPathOCXMDB(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetPathOCXMDB"));
    QString path;
    proc.assign(path, [&] {
        const QString composed = componentFile(state, QStringLiteral(".mdb"));
        const QString found = ifExists(composed);
        return found.isEmpty() ? composed : found;
    });
    return path;
}

QString GetPathSourceOCXMDB(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetPathSourceOCXMDB"));
    QString path;
    proc.assign(path,
                [&] { return ifExists(componentFile(state, QStringLiteral("_Source.mdb"))); });
    return path;
}

QString GetPathMachineCopyMDB(ProcessState& state, const QString& iniFile) {
    Procedure proc(state, QStringLiteral("GetPathMachineCopyMDB"));
    QString path;
    proc.assign(path, [&] {
        const QString component = GetOCXName(state);
        // An existence check that cannot be made counts as a missing file.
        return ifExists(underRestoreFolder(restoreFolder(state, iniFile),
                                           component + sep() + component + QStringLiteral(".mdb")));
    });
    return path;
}

QString GetFileNameOnly(ProcessState& state, const QString& path) {
    QString rest = path;
    qsizetype at = rest.indexOf(platform::separator());
    while (at >= 0) {
        rest = rest.mid(at + 1);
        state.runtime.doEvents();
        at = rest.indexOf(platform::separator());
    }
    return rest;
}

QString ReplaceSearchItem(const QString& text, const QString& searchItem,
                          const QString& replacement) {
    const qsizetype pos = indexIgnoringCase(text, searchItem);
    if (pos < 0)
        return text;
    QString replaced;
    replaced.reserve(text.size() - searchItem.size() + replacement.size());
    replaced.append(QStringView(text).left(pos))
        .append(replacement)
        .append(QStringView(text).mid(pos + searchItem.size()));
    return replaced;
}

} // namespace kpl
