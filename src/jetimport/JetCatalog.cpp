#include "jetimport/JetCatalog.h"

#include "database/Field.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetTable.h"

namespace kpl {

namespace {

const QString kCatalogTable = QStringLiteral("MSysObjects");
// Catalog rows: the kind of object, tables being 1; flags marking system
// objects; the object's id, whose low three bytes are its definition page.
constexpr qint64 kTableObject = 1;
constexpr qint64 kSystemObjectFlags = 0x80000002;
constexpr qint64 kDefinitionPageMask = 0x00ffffff;

int columnIndex(const JetTable& table, const QString& name) {
    const int index = indexOfField(table.columns(), name);
    if (index >= 0)
        return index;
    failImport(QStringLiteral("The catalog has no column %1.").arg(name));
}

} // namespace

JetCatalog readCatalog(const JetPages& pages, const JetTextDecoder& decoder) {
    JetTable catalog(pages, kCatalogTable, kJetCatalogDefinitionPage, decoder);
    const int id = columnIndex(catalog, QStringLiteral("Id"));
    const int name = columnIndex(catalog, QStringLiteral("Name"));
    const int type = columnIndex(catalog, QStringLiteral("Type"));
    const int flags = columnIndex(catalog, QStringLiteral("Flags"));
    JetCatalog result;
    result.declaredEntries = catalog.declaredRowCount();
    for (; catalog.fetchRow(); ++result.entries) {
        if (catalog.value(type).toLongLong() != kTableObject)
            continue;
        const quint32 definitionPage = quint32(catalog.value(id).toLongLong() & kDefinitionPageMask);
        result.tableDefinitionPages.append(definitionPage);
        const JetCatalogTable table{catalog.value(name).toString(), definitionPage,
                                    catalog.rowPointer()};
        if ((catalog.value(flags).toLongLong() & kSystemObjectFlags) == 0)
            result.userTables.append(table);
        else
            result.systemTables.append(table);
    }
    return result;
}

} // namespace kpl
