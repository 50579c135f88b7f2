#include "core/Runtime.h"

namespace kpl {

QString Runtime::environmentValue(const QString& name) const {
    const QString prefix = name + QLatin1Char('=');
    for (const QString& entry : m_environment) {
        if (entry.startsWith(prefix))
            return entry.mid(prefix.size());
    }
    return {};
}

} // namespace kpl
