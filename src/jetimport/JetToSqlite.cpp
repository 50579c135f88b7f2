#include "jetimport/JetToSqlite.h"

#include "database/Database.h"
#include "database/FieldValue.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetColumnTypes.h"
#include "jetimport/JetDatabase.h"

#include <QDir>
#include <QStringList>

namespace kpl {

namespace {

TableCount copyTable(const JetDatabase& source, const QString& name, Database& target) {
    JetTable table = source.openTable(name);
    const TableDef definition = importedTableDef(name, table.columns(), source.isJet4());
    target.appendTableDef(definition);
    const QString insert = definition.insertStatement();
    TableCount count{name, 0, 0, table.declaredRowCount()};
    const QList<Field>& fields = definition.fields();
    for (; table.fetchRow(); ++count.read) {
        QVariantList values = table.rowValues();
        for (qsizetype i = 0; i < values.size() && i < fields.size(); ++i)
            values[i] = toStoredValue(values.at(i), fields.at(i));
        target.execute(insert, values);
    }
    return count;
}

} // namespace

ImportCounts importJetDatabase(const QString& jetPath, const QString& targetPath,
                               const QStringList& tables) {
    const JetDatabase source(jetPath);
    Database target = Database::create(targetPath);
    ImportCounts counts{{}, source.catalog().entries, source.catalog().declaredEntries};
    for (const QString& name : source.userTableNames())
        if (tables.isEmpty() || tables.contains(name, Qt::CaseInsensitive))
            counts.tables.append(copyTable(source, name, target));
    target.commit();
    for (TableCount& count : counts.tables) {
        count.written = target.rowCount(count.table);
        if (count.written != count.read)
            failImport(QStringLiteral("%1: table %2: %3 rows read, but %4 written.")
                           .arg(QDir::toNativeSeparators(targetPath), count.table)
                           .arg(count.read)
                           .arg(count.written));
    }
    target.close();
    return counts;
}

} // namespace kpl
