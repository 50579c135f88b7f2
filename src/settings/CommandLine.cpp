#include "settings/CommandLine.h"

#include "errors/Procedure.h"
#include "settings/Platform.h"
#include "settings/ProcessState.h"

namespace kpl {

namespace {

// Trims blanks only, as the old runtime's Trim did (tabs stay).
QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

// The keyword's value with its letter case as typed.
std::optional<QString> readValue(const QString& commandLine, const QString& keyword) {
    const qsizetype pos = commandLine.indexOf(keyword, 0, Qt::CaseInsensitive);
    if (pos < 0)
        return std::nullopt;
    // One character after the keyword is skipped whatever it is; a keyword at
    // the very end of the line has an empty value.
    QString value = trimBlanks(commandLine.mid(pos + keyword.size() + 1));
    const qsizetype end = platform::commandValueEnd(value);
    if (end >= 0)
        value = trimBlanks(value.left(end));
    return value;
}

} // namespace

std::optional<QString> ReadCommand(const QString& commandLine, const QString& keyword) {
    const std::optional<QString> value = readValue(commandLine, keyword);
    if (!value)
        return std::nullopt;
    return value->toUpper();
}

bool GetStartModeIntegrated(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetStartModeIntegrated"));
    QString external;
    proc.assign(external, [&] {
        return ReadCommand(state.runtime.commandLine(), QStringLiteral("EXTERNAL")).value_or(QString());
    });
    bool result = false;
    proc.step([&] {
        result = external == QLatin1String("N4RCFG");
        state.integratedMode = result;
    });
    proc.step([&] {
        state.silentMode = external == QLatin1String("SILENT");
        if (state.silentMode) {
            result = false;
            state.integratedMode = false;
        }
    });
    return result;
}

QString GetPathLogfile(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetPathLogfile"));
    QString path;
    // Where file names are case-sensitive the path keeps the case it was typed in.
    proc.assign(path, [&] {
        const QString& line = state.runtime.commandLine();
        const QString keyword = QStringLiteral("LOGFILE");
        return (platform::caseSensitiveFileNames() ? readValue(line, keyword)
                                                   : ReadCommand(line, keyword))
            .value_or(QString());
    });
    return path;
}

} // namespace kpl
