#pragma once

#include "jetimport/JetPages.h"
#include "jetimport/JetText.h"

#include <QList>
#include <QString>

namespace kpl {

// A user table as the system catalog lists it.
struct JetCatalogTable {
    QString name;
    quint32 definitionPage;
};

// The user tables (no system tables, no linked tables) in catalog order.
// Only the catalog's rows that describe tables are read, and of them only
// what the import needs: rows about other objects (saved queries, forms,
// relationships) are not the import's business, however they look. All rows
// the catalog declares have to be there.
QList<JetCatalogTable> readUserTables(const JetPages& pages, const JetTextDecoder& decoder);

} // namespace kpl
