#include "presetdb/ProjectDatabase.h"

#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "core/platform/CaseBlindPath.h"
#include "database/TextCollation.h"
#include "presetdb/Conversions.h"
#include "settings/ProjectPaths.h"

namespace kpl {

QString ProjectDatabase::path() const {
    return m_copy.isEmpty() ? GetPathOCXMDB(m_state) : m_copy;
}

bool ProjectDatabase::exists() const {
    return m_database || platform::fileExists(path());
}

Database& ProjectDatabase::database() {
    if (!m_database) {
        m_database.emplace(Database::open(path()));
        m_database->beginTransaction();
    }
    return *m_database;
}

Recordset& ProjectDatabase::presetDefs() {
    if (m_presetDefs)
        return *m_presetDefs;
    Recordset table = database().openRecordset(table::PresetDefs);
    // The names alone, in the table's order, so that a row's place in this
    // list is its place in the table.
    Recordset names = database().openSnapshot(QStringLiteral("SELECT %1 FROM %2 ORDER BY _rowid_")
                                                  .arg(presetDefs::VarName, table::PresetDefs));
    const std::vector<QVariantList> nameRows = names.getRows(names.recordCount());
    QHash<QString, QList<int>> rows;
    rows.reserve(qsizetype(nameRows.size()));
    for (std::size_t position = 0; position < nameRows.size(); ++position) {
        const QVariant& name = nameRows[position].at(0);
        // A Null name equals no text, not even the empty one.
        if (!name.isNull())
            rows[textKey(valueText(name))].append(int(position));
    }
    m_rowsByName = std::move(rows);
    m_presetDefs.emplace(std::move(table));
    return *m_presetDefs;
}

QList<int> ProjectDatabase::rowsNamed(const QString& name) {
    presetDefs();
    return m_rowsByName.value(textKey(name));
}

void ProjectDatabase::renamed(int position, const QString& oldName, const QString& newName) {
    QList<int>& from = m_rowsByName[textKey(oldName)];
    from.removeOne(position);
    QList<int>& to = m_rowsByName[textKey(newName)];
    to.insert(std::lower_bound(to.begin(), to.end(), position), position);
    ++m_renamedRecords;
}

void ProjectDatabase::renameCategoryColumn(const QString& oldName) {
    database().renameField(table::PresetDefs, oldName, presetDefs::CategoryId);
    m_renamedCategoryColumn = oldName;
}

QStringList ProjectDatabase::pendingChanges() const {
    QStringList changes;
    if (!m_renamedCategoryColumn.isEmpty())
        changes.append(QStringLiteral("the column %1 renamed to %2")
                           .arg(m_renamedCategoryColumn, presetDefs::CategoryId));
    if (m_renamedRecords > 0)
        changes.append(QStringLiteral("%1 variable names renamed").arg(m_renamedRecords));
    return changes;
}

void ProjectDatabase::close() {
    m_presetDefs.reset();
    m_rowsByName.clear();
    const QStringList pending = pendingChanges();
    m_renamedRecords = 0;
    m_renamedCategoryColumn.clear();
    if (!m_database)
        return;
    Database closing = std::move(*m_database);
    m_database.reset();
    closing.close(); // a failed commit leaves the file as it was
    if (m_copy.isEmpty())
        m_committed += pending;
}

} // namespace kpl
