#include "jetimport/JetPageCheck.h"

#include "jetimport/JetDataPageBuilder.h"
#include "jetimport/JetTableDefinition.h"
#include "jetimport/JetUsageMap.h"

#include <QSet>

namespace kpl {

namespace {

// The sum of the row lengths of a data page, deleted rows counted: their
// bytes stay where they are until the page is written anew.
int rowBytes(const JetDataPage& page) {
    int bytes = 0;
    for (int row = 0; row < page.rowCount(); ++row)
        bytes += int(page.row(row).size());
    return bytes;
}

} // namespace

QStringList checkJetPageAccounting(const JetPages& pages, const QList<quint32>& tableDefinitions) {
    const QList<quint32> freeList = usageMapPages(pages, kJetGlobalUsageMap);
    const QSet<quint32> freePages(freeList.cbegin(), freeList.cend());
    QStringList problems;
    const auto requireUsed = [&](quint32 page, quint32 table, const char* what) {
        if (freePages.contains(page))
            problems.append(QStringLiteral("Page %1 (%2 of the table on page %3) is marked free.")
                                .arg(page)
                                .arg(QLatin1String(what))
                                .arg(table));
    };
    for (const quint32 table : tableDefinitions) {
        const JetTableDefinition definition = readTableMaps(pages, table);
        for (const quint32 page : definition.pages)
            requireUsed(page, table, "definition");
        requireUsed(definition.usageMap.page, table, "usage map");
        requireUsed(definition.freeSpaceMap.page, table, "free-space map");
        for (const quint32 number : usageMapPages(pages, definition.usageMap)) {
            requireUsed(number, table, "owned page");
            const JetDataPage page = pages.dataPage(number);
            if (!page.isDataPage())
                continue;
            const int freeSpace = jet4FreeSpace(page.rowCount(), rowBytes(page));
            if (!page.belongsTo(table))
                problems.append(
                    QStringLiteral("Data page %1 of the table on page %2 names another owner.")
                        .arg(number)
                        .arg(table));
            else if (page.freeSpace() != freeSpace)
                problems.append(QStringLiteral("Data page %1 states %2 bytes free; its rows "
                                               "leave %3.")
                                    .arg(number)
                                    .arg(page.freeSpace())
                                    .arg(freeSpace));
        }
    }
    return problems;
}

} // namespace kpl
