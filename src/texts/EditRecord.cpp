#include "texts/EditRecord.h"

#include "Version.h"
#include "core/ProcessState.h"
#include "core/platform/Windows1252.h"
#include "errors/Procedure.h"
#include "settings/IniWriteReport.h"
#include "settings/ProjectPaths.h"

namespace kpl {

QString encodeEditor(const QString& text) {
    QString encoded;
    for (const QChar c : text) {
        if (c == QLatin1Char('-') || c == QLatin1Char('_'))
            continue;
        // A character outside the code page is stored as "?".
        const uchar code = platform::ansiCode(c).value_or('?');
        encoded += QString::number(code + 5, 16).toUpper();
    }
    return encoded;
}

QString firstEnvironmentValue(const ProcessState& state) {
    const QStringList& environment = state.runtime.environment();
    if (environment.isEmpty())
        return {};
    const QString& entry = environment.first();
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    return equals < 0 ? entry : entry.mid(equals + 1);
}

void WriteEditInfo(ProcessState& state) {
    Procedure proc(state, QStringLiteral("WriteEditInfo"));
    QString program;
    proc.assign(program, [&] {
        return QStringLiteral("%1.%2.%3")
                   .arg(version::kMajor)
                   .arg(version::kMinor)
                   .arg(version::kRevision) +
               (state.integratedMode ? QStringLiteral(" - Integrated")
                                     : QStringLiteral(" - Standalone"));
    });
    IniWriteReport writes(state, proc.name());
    proc.step([&] {
        writes.save(program, QStringLiteral("Info"), QStringLiteral("S_Prog"), GetCFGPath(state));
    });
    QString editor;
    proc.assign(editor, [&] { return encodeEditor(firstEnvironmentValue(state)); });
    proc.step([&] {
        writes.save(editor, QStringLiteral("Info"), QStringLiteral("S_Editor"), GetCFGPath(state));
    });
    proc.step([&] { writes.report(); });
}

} // namespace kpl
