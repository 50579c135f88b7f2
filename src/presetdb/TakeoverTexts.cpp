#include "presetdb/TakeoverTexts.h"

#include "errors/LineBreak.h"

namespace kpl::takeover {

namespace {
QString warningParts(const QString& component, const QString& lineBreak) {
    return QStringLiteral("WARNING!") + lineBreak +
           QStringLiteral("Machinecopy contains data in fields that won't be taken over!") +
           lineBreak + QStringLiteral("Configurationfile ") + quote() + component +
           QStringLiteral(".CFG") + quote() + QStringLiteral(", missing entry ") + quote() +
           QStringLiteral("DataBaseAdditionalFields ") + quote() + lineBreak +
           QStringLiteral("If you continue now this data will be lost.") + lineBreak +
           QStringLiteral("Continue?");
}

QString databaseError(const QString& executable) {
    return executable + QStringLiteral(" :") + failureDescription();
}
} // namespace

QString warningText(const QString& component) {
    return warningParts(component, lfCr());
}

QString silentWarningText(const QString& component) {
    return warningParts(component, QString());
}

QString abortLine(const QString& executable, const QString& component,
                  const QString& executablePath) {
    return databaseError(executable) + QStringLiteral(" Configurationprogram ") + quote() +
           component + quote() + QStringLiteral(" terminated.") +
           QStringLiteral(" Please check Configuration in ") + quote() + component +
           QStringLiteral(".CFG") + quote() + QStringLiteral(" Restart ") +
           (executablePath + QStringLiteral("!")).toUpper();
}

QString countLine(const QString& executable, const QString& machineCopyPath, int walked,
                  int claimed, int inTarget) {
    return databaseError(executable) + QStringLiteral(" Error in Sourcedatabase (") +
           machineCopyPath + QStringLiteral("):") + QStringLiteral(" Counted ") +
           QString::number(walked) + QStringLiteral(" recordsets while database claims to have ") +
           QString::number(claimed) + QStringLiteral(" recordsets! ") + QStringLiteral(" (") +
           QString::number(inTarget) + QStringLiteral(" needed.");
}

QString conflictLine(const QString& component, const QString& field) {
    return QStringLiteral("Conflict while attempting to extend database!") +
           QStringLiteral("Configurationsfile ") + quote() + component + QStringLiteral(".CFG") +
           quote() + QStringLiteral(", demanded field ") + quote() + field.toUpper() + quote() +
           QStringLiteral("missing in machinecopy-database") + lfCr() +
           QStringLiteral("Configuration of ") + quote() + component + quote() +
           QStringLiteral(" aborted.");
}

} // namespace kpl::takeover
