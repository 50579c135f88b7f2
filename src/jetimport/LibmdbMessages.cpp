#include "jetimport/LibmdbMessages.h"

#include "core/platform/StandardErrorRedirect.h"
#include "jetimport/ImportFailure.h"

namespace kpl {

namespace {
[[noreturn]] void failToWatch() {
    failImport(QStringLiteral("The messages of the Jet reader library cannot be collected."));
}
} // namespace

LibmdbMessages::LibmdbMessages() {
    if (!m_collected.open())
        failToWatch();
}

QString LibmdbMessages::during(const std::function<void()>& call) {
    const qint64 before = m_collected.size();
    {
        const platform::StandardErrorRedirect redirect(m_collected.fileName());
        if (!redirect.isActive())
            failToWatch();
        call();
    }
    if (!m_collected.seek(before))
        failToWatch();
    return QString::fromLocal8Bit(m_collected.readAll()).trimmed();
}

} // namespace kpl
