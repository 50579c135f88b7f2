#include "presetdb/ProjectDatabase.h"

#include "core/Platform.h"
#include "core/ProcessState.h"
#include "database/TextCollation.h"
#include "presetdb/Conversions.h"
#include "settings/ProjectPaths.h"

namespace kpl {

namespace {
const QString kPresetDefs = QStringLiteral("PRESET_DEFS");
} // namespace

bool ProjectDatabase::exists() const {
    return m_database || platform::fileExists(GetPathOCXMDB(m_state));
}

Database& ProjectDatabase::database() {
    if (!m_database) {
        m_database.emplace(Database::open(GetPathOCXMDB(m_state)));
        m_database->beginTransaction();
    }
    return *m_database;
}

Recordset& ProjectDatabase::presetDefs() {
    if (m_presetDefs)
        return *m_presetDefs;
    Recordset table = database().openRecordset(kPresetDefs);
    // The names alone, in the table's order, so that a row's place in this
    // list is its place in the table.
    Recordset names = database().openSnapshot(
        QStringLiteral("SELECT var_name FROM PRESET_DEFS ORDER BY _rowid_"));
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
    database().renameField(kPresetDefs, oldName, QStringLiteral("category_id"));
    m_renamedCategoryColumn = oldName;
}

QStringList ProjectDatabase::changesInPlace() const {
    QStringList changes;
    if (!m_renamedCategoryColumn.isEmpty())
        changes.append(
            QStringLiteral("the column %1 renamed to category_id").arg(m_renamedCategoryColumn));
    if (m_renamedRecords > 0)
        changes.append(QStringLiteral("%1 variable names renamed").arg(m_renamedRecords));
    return changes;
}

void ProjectDatabase::close() {
    m_presetDefs.reset();
    m_rowsByName.clear();
    if (m_database) {
        m_database->close();
        m_database.reset();
    }
}

} // namespace kpl
