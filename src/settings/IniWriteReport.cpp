#include "settings/IniWriteReport.h"

#include "core/ProcessState.h"
#include "errors/Logs.h"
#include "settings/Ini.h"

#include <QDir>

namespace kpl {

void IniWriteReport::save(const QVariant& value, const QString& section, const QString& key,
                          const QString& file) {
    const bool written = SaveIni(m_state, value, section, key, file);
    const std::optional<platform::WriteFailure>& failure = m_state.profile.lastWriteFailure();
    if (written && !failure)
        return;
    const QString entry = QLatin1Char('[') + section + QStringLiteral("] ") + key;
    for (Refusal& refusal : m_refusals) {
        if (refusal.file == file && refusal.written == written) {
            refusal.entries.append(entry);
            return;
        }
    }
    m_refusals.append({file, failure ? failure->reason : QString(), {entry}, written});
}

void IniWriteReport::report() {
    for (const Refusal& refusal : std::as_const(m_refusals)) {
        const QString file = QDir::toNativeSeparators(refusal.file);
        const QString where = file.isEmpty() ? QString() : QStringLiteral(" to ") + file;
        const QString what = refusal.written
                                 ? QStringLiteral(" written") + where +
                                       QStringLiteral(", but its folder could not be synced")
                                 : QStringLiteral(" could not be written") + where;
        const QString text = m_operation + QStringLiteral(": ") +
                             refusal.entries.join(QStringLiteral(", ")) + what +
                             QStringLiteral(" (") + refusal.reason + QLatin1Char(')');
        WriteErrorLog(m_state, text);
        ReportFault(m_state, text);
    }
    m_refusals.clear();
}

} // namespace kpl
