#include "jetimport/LibmdbEnvironment.h"

#include <QtGlobal>

namespace kpl {

const QList<const char*>& LibmdbEnvironmentGuard::variableNames() {
    static const QList<const char*> names{"MDBICONV", "MDB_JET3_CHARSET", "MDBPATH", "MDBOPTS"};
    return names;
}

LibmdbEnvironmentGuard::LibmdbEnvironmentGuard() {
    for (const char* name : variableNames()) {
        std::optional<QByteArray> value;
        if (qEnvironmentVariableIsSet(name))
            value = qgetenv(name);
        m_saved.append({name, value});
        qunsetenv(name);
    }
}

LibmdbEnvironmentGuard::~LibmdbEnvironmentGuard() {
    for (const auto& [name, value] : m_saved) {
        if (value)
            qputenv(name, *value);
    }
}

} // namespace kpl
