#include "presetdb/JetWorkCopies.h"

#include "core/PresetTables.h"
#include "database/Database.h"
#include "jetimport/FileKind.h"
#include "jetimport/ImportedFile.h"
#include "jetimport/JetExport.h"

namespace kpl {

JetWorkCopies::JetWorkCopies() = default;
JetWorkCopies::~JetWorkCopies() = default;

bool JetWorkCopies::isJet4(const QString& path) {
    return fileKind(path) == FileKind::Jet4;
}

QString JetWorkCopies::workOn(const QString& path, const QStringList& tables) {
    if (!isJet4(path))
        return path;
    auto imported = std::make_unique<ImportedFile>(path);
    imported->importFrom(path, path, tables);
    m_imports.push_back(std::move(imported));
    return m_imports.back()->path();
}

void writePresetDefsToJet(const QString& rebuilt, const QString& jetPath,
                          platform::FileCalls& calls) {
    Database database = Database::open(rebuilt);
    exportTableToJet(database, table::PresetDefs, jetPath, calls);
    database.close();
}

} // namespace kpl
