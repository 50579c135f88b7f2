#pragma once

#include "database/Database.h"
#include "database/Recordset.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kpl {

struct ProcessState;

// The project database as the update run works on it: one connection for the
// whole run, opened on first use, whose writes are committed when it closes;
// when it goes away unclosed (the process ended on the way) they are rolled
// back.
// Old variable names are found through a map built once from the old table,
// so renaming costs no scan of the table per name.
class ProjectDatabase {
public:
    explicit ProjectDatabase(ProcessState& state) : m_state(state) {}

    // Makes the run work on `copy`, a copy of the project database made for
    // it, before first use: what the run changes there is not in the project
    // database itself.
    void workOnCopy(const QString& copy) { m_copy = copy; }
    // Whether the project database file exists (checked anew each time).
    bool exists() const;
    // The open database; opened on first use.
    Database& database();
    // The old PRESET_DEFS as a table recordset with a name index; failure when
    // the table does not exist.
    Recordset& presetDefs();
    // Rows of the old table whose var_name equals `name` (letter case ignored).
    QList<int> rowsNamed(const QString& name);
    // Records that the row at `position` now carries `newName`.
    void renamed(int position, const QString& oldName, const QString& newName);
    // Renames the old category column `oldName` to category_id.
    void renameCategoryColumn(const QString& oldName);
    // What the run changed in the file itself and committed, as the log says
    // it.
    QStringList changesInPlace() const { return m_committed; }
    // Commits and closes; a commit that fails leaves the file unchanged and
    // is thrown.
    void close();

private:
    QStringList pendingChanges() const;

    QString path() const;

    ProcessState& m_state;
    QString m_copy;
    std::optional<Database> m_database;
    std::optional<Recordset> m_presetDefs;
    QHash<QString, QList<int>> m_rowsByName;
    int m_renamedRecords = 0;
    QString m_renamedCategoryColumn;
    QStringList m_committed;
};

} // namespace kpl
