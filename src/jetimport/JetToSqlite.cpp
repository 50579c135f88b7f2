#include "jetimport/JetToSqlite.h"

#include "database/Database.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetColumnTypes.h"
#include "jetimport/JetDatabase.h"

#include <QDir>
#include <QStringList>

namespace kpl {

namespace {

qint64 copyTable(const JetDatabase& source, const QString& name, Database& target) {
    JetTable table = source.openTable(name);
    const TableDef definition = importedTableDef(name, table.columns(), source.isJet4());
    target.appendTableDef(definition);
    const QString insert = definition.insertStatement();
    qint64 read = 0;
    while (table.fetchRow()) {
        target.execute(insert, table.rowValues());
        ++read;
    }
    if (read != table.declaredRowCount())
        failImport(QStringLiteral("%1: table %2 gave %3 rows, but the file declares %4.")
                       .arg(QDir::toNativeSeparators(source.path()), name)
                       .arg(read)
                       .arg(table.declaredRowCount()));
    return read;
}

} // namespace

QList<TableCount> importJetDatabase(const QString& jetPath, const QString& targetPath) {
    const JetDatabase source(jetPath);
    Database target = Database::create(targetPath);
    QList<TableCount> counts;
    for (const QString& name : source.userTableNames())
        counts.append(TableCount{name, copyTable(source, name, target), 0});
    target.commit();
    for (TableCount& count : counts) {
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
