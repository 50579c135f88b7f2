#include "settings/IniWriteReport.h"

#include "core/ProcessState.h"
#include "errors/Logs.h"
#include "settings/Ini.h"

#include <QDir>

namespace kpl {

void IniWriteReport::save(const QVariant& value, const QString& section, const QString& key,
                          const QString& file) {
    if (SaveIni(m_state, value, section, key, file) != 0)
        return;
    const QString entry = QLatin1Char('[') + section + QStringLiteral("] ") + key;
    for (Refusal& refusal : m_refusals) {
        if (refusal.file == file) {
            refusal.entries.append(entry);
            return;
        }
    }
    m_refusals.append({file, m_state.profile.lastWriteError(), {entry}});
}

void IniWriteReport::report() {
    for (const Refusal& refusal : std::as_const(m_refusals)) {
        const QString where = refusal.file.isEmpty()
                                  ? QString()
                                  : QStringLiteral(" to ") + QDir::toNativeSeparators(refusal.file);
        const QString text = m_operation + QStringLiteral(": ") +
                             refusal.entries.join(QStringLiteral(", ")) +
                             QStringLiteral(" could not be written") + where +
                             QStringLiteral(" (") + refusal.reason + QLatin1Char(')');
        WriteErrorLog(m_state, text);
        ReportFault(m_state, text);
    }
    m_refusals.clear();
}

} // namespace kpl
