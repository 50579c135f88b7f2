#pragma once

#include "core/platform/FileCalls.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace kpl {

class ImportedFile;

// The update run on a site whose source database is a Jet 4 file works on
// SQLite imports of its Jet databases, made beside each file under the
// program's temporary names (so that a killed run's leftovers are cleared
// by the next write of that file) and removed when this object goes. The
// Jet files themselves are only read, until the rebuilt PRESET_DEFS is
// written back into the source database.
class JetWorkCopies {
public:
    JetWorkCopies();
    ~JetWorkCopies();
    JetWorkCopies(const JetWorkCopies&) = delete;
    JetWorkCopies& operator=(const JetWorkCopies&) = delete;

    static bool isJet4(const QString& path);

    // The database the run works on for `path`: an import of it when it is a
    // Jet 4 file (with only `tables` when given), otherwise `path` itself.
    // Fails when the file cannot be imported; the file is not changed.
    QString workOn(const QString& path, const QStringList& tables = {});

private:
    std::vector<std::unique_ptr<ImportedFile>> m_imports;
};

// Writes PRESET_DEFS of the SQLite database `rebuilt` into the Jet 4 file
// `jetPath` (exportTableToJet); whatever fails, the Jet file is as it was.
void writePresetDefsToJet(const QString& rebuilt, const QString& jetPath,
                          platform::FileCalls& calls);

} // namespace kpl
