#include "core/CommandKeywords.h"

#include "core/platform/PathRules.h"

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

// Whether `text` begins with "/" and one of the program's keywords, alone or
// followed by a separator: a further keyword, not a path.
bool startsWithKeyword(const QString& text) {
    if (!text.startsWith(QLatin1Char('/')))
        return false;
    const QStringView word = QStringView(text).sliced(1);
    for (const QLatin1String keyword : {QLatin1String("EXTERNAL"), QLatin1String("LOGFILE")}) {
        if (!word.startsWith(keyword, Qt::CaseInsensitive))
            continue;
        const QStringView after = word.sliced(keyword.size());
        return after.isEmpty() || after.front() == QLatin1Char(' ') ||
               after.front() == QLatin1Char('=');
    }
    return false;
}

// The keyword's value with its letter case as typed.
std::optional<QString> readValue(const QString& commandLine, const QString& keyword) {
    const qsizetype pos = commandLine.indexOf(keyword, 0, Qt::CaseInsensitive);
    if (pos < 0)
        return std::nullopt;
    // One character after the keyword is skipped whatever it is; a keyword at
    // the very end of the line has an empty value.
    const QString rest = commandLine.mid(pos + keyword.size() + 1);
    // A keyword given no value: its separator is the blank of the next
    // keyword's " /".
    if (startsWithKeyword(rest))
        return QString();
    // The end is looked for before the blanks are trimmed, as they may be
    // part of it.
    const std::optional<qsizetype> end = platform::commandValueEnd(rest);
    return trimBlanks(end ? rest.left(*end) : rest);
}

} // namespace

std::optional<QString> ReadCommand(const QString& commandLine, const QString& keyword) {
    const std::optional<QString> value = readValue(commandLine, keyword);
    if (!value)
        return std::nullopt;
    return value->toUpper();
}

QString logFileValue(const QString& commandLine) {
    const QString keyword = QStringLiteral("LOGFILE");
    return (platform::caseSensitiveFileNames() ? readValue(commandLine, keyword)
                                               : ReadCommand(commandLine, keyword))
        .value_or(QString());
}

} // namespace kpl
