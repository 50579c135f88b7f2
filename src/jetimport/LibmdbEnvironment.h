#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <utility>

namespace kpl {

// While it lives, the environment variables that change how libmdb reads a
// file are removed from the process environment: MDBICONV and
// MDB_JET3_CHARSET (the character sets of names and texts), MDBPATH (where a
// file name is looked for) and MDBOPTS (debug switches, whose output would
// fail every page read). They are restored afterwards. libmdb reads MDBOPTS
// once per process, so the guard is in place before the first call into the
// library.
class LibmdbEnvironmentGuard {
public:
    LibmdbEnvironmentGuard();
    ~LibmdbEnvironmentGuard();
    LibmdbEnvironmentGuard(const LibmdbEnvironmentGuard&) = delete;
    LibmdbEnvironmentGuard& operator=(const LibmdbEnvironmentGuard&) = delete;

    static const QList<const char*>& variableNames();

private:
    QList<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

} // namespace kpl
