#pragma once

#include "jetimport/JetPages.h"
#include "jetimport/JetText.h"

#include <QList>
#include <QString>

namespace kpl {

// The system catalog, the table that lists every object of the file, has
// its definition on this page.
constexpr quint32 kJetCatalogDefinitionPage = 2;

// A table as the system catalog lists it.
struct JetCatalogTable {
    QString name;
    quint32 definitionPage;
    JetRowPointer catalogRow; // where its catalog row lies
};

// What the system catalog lists: the user tables (no system tables, no
// linked tables) in catalog order, and how many entries it holds and
// declares. The declared number is a hint that files edited for years carry
// out of date; the entries are the ones its pages hold.
struct JetCatalog {
    QList<JetCatalogTable> userTables;
    QList<JetCatalogTable> systemTables;
    // The definition pages of every table it lists, system tables included.
    QList<quint32> tableDefinitionPages;
    qint64 entries = 0;
    qint64 declaredEntries = 0;
};

// Only the catalog's rows that describe tables are read, and of them only
// what the import needs: rows about other objects (saved queries, forms,
// relationships) are not the import's business, however they look.
JetCatalog readCatalog(const JetPages& pages, const JetTextDecoder& decoder);

} // namespace kpl
