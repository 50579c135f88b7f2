#include "jetimport/JetTableRebuild.h"

#include "core/Failure.h"
#include "core/platform/AtomicWrite.h"
#include "database/Field.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetCatalog.h"
#include "jetimport/JetDataPageBuilder.h"
#include "jetimport/JetDefinitionWriter.h"
#include "jetimport/JetPageCheck.h"
#include "jetimport/JetPageFile.h"
#include "jetimport/JetRowEncoder.h"
#include "jetimport/JetTable.h"
#include "jetimport/JetTableDefinition.h"
#include "jetimport/JetUsageMap.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QtEndian>

#include <algorithm>

namespace kpl {

namespace {

const QString kRelationshipTable = QStringLiteral("MSysRelationships");

// The global map grows in whole words of its bitmap.
constexpr qsizetype kGlobalMapGrowth = 4;

void setBit(QByteArray& bitmap, quint32 bit, bool on) {
    const char mask = char(1 << bit % 8);
    bitmap[bit / 8] = on ? char(bitmap[bit / 8] | mask) : char(bitmap[bit / 8] & ~mask);
}

// Where the rebuilt table's pages go: its own old pages first (beyond its
// definition's first page), then pages the global map marks free, then
// pages appended to the file.
struct PagePlan {
    QList<quint32> own;
    QSet<quint32> free; // the file's free pages
    QList<quint32> available;
    quint32 next = 0; // the next page appended
    qsizetype taken = 0;

    quint32 take();
    // The own pages not taken, now free.
    QList<quint32> release();
};

// One rebuild: the pages read, the pages changed (written only at the end).
class Rebuild {
public:
    Rebuild(JetPageFile& file, const QString& name)
        : m_file(file), m_pages(file.format(),
                                [this](quint32 number, QByteArray& page) {
                                    const auto changed = m_changed.constFind(number);
                                    if (changed == m_changed.cend())
                                        return m_file.read(number, page);
                                    page = *changed;
                                    return QString();
                                }),
          m_name(name) {}

    void run(QList<JetColumn> columns, const QList<QVariantList>& rows);

private:
    JetCatalogTable findTable(const JetCatalog& catalog) const;
    void refuseRelationships(const JetCatalog& catalog) const;
    QByteArray& changedPage(quint32 number);
    QByteArray& changedRow(const JetRowPointer& pointer, qsizetype& start, qsizetype& size);
    void writeMap(const JetRowPointer& map, const QList<quint32>& marked);
    void nullCatalogProperties(const JetCatalogTable& table);
    void writeGlobalMap(const QSet<quint32>& free, quint32 pageCount);
    void refuseGlobalMapOfAnotherKind() const;
    PagePlan planPages(quint32 definitionPage, const JetTableDefinition& old) const;
    void checkWritten(quint32 definitionPage, const QList<JetColumn>& columns,
                      const QList<QByteArray>& encoded) const;

    JetPageFile& m_file;
    JetPages m_pages;
    QString m_name;
    QMap<quint32, QByteArray> m_changed;
};

JetCatalogTable Rebuild::findTable(const JetCatalog& catalog) const {
    for (const JetCatalogTable& table : catalog.userTables) {
        if (table.name == m_name)
            return table;
    }
    failImport(QStringLiteral("it has no table %1").arg(m_name));
}

void Rebuild::refuseRelationships(const JetCatalog& catalog) const {
    for (const JetCatalogTable& system : catalog.systemTables) {
        if (system.name != kRelationshipTable)
            continue;
        JetTable relationships(m_pages, system.name, system.definitionPage, JetTextDecoder::jet4());
        const int object = indexOfField(relationships.columns(), QStringLiteral("szObject"));
        const int referenced =
            indexOfField(relationships.columns(), QStringLiteral("szReferencedObject"));
        while (relationships.fetchRow()) {
            for (const int column : {object, referenced}) {
                if (column >= 0 && relationships.value(column).toString().compare(
                                       m_name, Qt::CaseInsensitive) == 0)
                    failImport(QStringLiteral("table %1 takes part in a relationship").arg(m_name));
            }
        }
    }
}

QByteArray& Rebuild::changedPage(quint32 number) {
    auto changed = m_changed.find(number);
    if (changed == m_changed.end())
        changed = m_changed.insert(number, m_pages.page(number));
    return *changed;
}

// The page holding the row `pointer` names, to be changed; `start` and
// `size` say where the row lies on it.
QByteArray& Rebuild::changedRow(const JetRowPointer& pointer, qsizetype& start, qsizetype& size) {
    const JetDataPage page = m_pages.dataPage(pointer.page);
    start = page.rowStart(pointer.row);
    size = page.row(pointer.row).size();
    return changedPage(pointer.page);
}

// Rewrites the map row `map` in place to mark `marked`: an inline map keeps
// its length, a map of map pages its map pages.
void Rebuild::writeMap(const JetRowPointer& map, const QList<quint32>& marked) {
    qsizetype start = 0;
    qsizetype size = 0;
    QByteArray& page = changedRow(map, start, size);
    const QByteArray row = page.mid(start, size);
    if (!row.isEmpty() && row.at(0) == kJetInlineMap) {
        const std::optional<QByteArray> inlineRow = inlineUsageMap(marked, int(size));
        if (!inlineRow)
            failImport(QStringLiteral("the pages of table %1 would lie farther apart than its page "
                                      "map holds")
                           .arg(m_name));
        page.replace(start, size, *inlineRow);
        return;
    }
    if (row.isEmpty() || row.at(0) != kJetMapOfMapPages)
        failImport(
            QStringLiteral("a page map of table %1 is of a kind that is not written").arg(m_name));
    const quint32 perMapPage = quint32(m_file.format().pageSize - kJetMapPageBitmapStart) * 8;
    QMap<quint32, QByteArray> bitmaps; // by map page
    for (qsizetype at = 1; at + 4 <= size; at += 4) {
        const quint32 mapPage = qFromLittleEndian<quint32>(row.constData() + at);
        if (mapPage != 0)
            bitmaps.insert(mapPage,
                           QByteArray(m_file.format().pageSize - kJetMapPageBitmapStart, '\0'));
    }
    for (const quint32 number : marked) {
        const qsizetype at = 1 + 4 * qsizetype(number / perMapPage);
        const quint32 mapPage =
            at + 4 <= size ? qFromLittleEndian<quint32>(row.constData() + at) : 0;
        if (mapPage == 0)
            failImport(QStringLiteral("the page map of table %1 would need a map page it does not "
                                      "have")
                           .arg(m_name));
        setBit(bitmaps[mapPage], number % perMapPage, true);
    }
    for (auto it = bitmaps.cbegin(); it != bitmaps.cend(); ++it) {
        QByteArray& mapPage = changedPage(it.key());
        if (mapPage.at(0) != kJetMapPage)
            failImport(QStringLiteral("page %1 is no page of a usage map").arg(it.key()));
        mapPage.replace(kJetMapPageBitmapStart, it.value().size(), it.value());
    }
}

// Sets the creation and update times and the stored properties of the
// table's catalog row to Null: their bits in the row's null mask cleared.
void Rebuild::nullCatalogProperties(const JetCatalogTable& table) {
    const QList<JetColumn> columns =
        readTableDefinition(m_pages, kJetCatalogDefinitionPage, JetTextDecoder::jet4()).columns;
    qsizetype start = 0;
    qsizetype size = 0;
    QByteArray& page = changedRow(table.catalogRow, start, size);
    const int rowColumns = qFromLittleEndian<quint16>(page.constData() + start);
    const qsizetype maskStart = start + size - (rowColumns + 7) / 8;
    for (const char* name : {"DateCreate", "DateUpdate", "LvProp"}) {
        const int index = indexOfField(columns, QString::fromLatin1(name));
        if (index < 0 || columns[index].number >= rowColumns)
            continue;
        const int number = columns[index].number;
        page[maskStart + number / 8] = char(page[maskStart + number / 8] & ~(1 << number % 8));
    }
}

// Rewrites the global map (row 0 of page 1; a set bit means free) to mark
// `free` of the file's `pageCount` pages free, and the pages past its end
// as the engine does. The row grows, in whole words, where a free page lies
// past its bitmap; the page's rows are packed anew around it.
void Rebuild::writeGlobalMap(const QSet<quint32>& free, quint32 pageCount) {
    const JetDataPage page = m_pages.dataPage(kJetGlobalUsageMap.page);
    QList<QByteArray> rows;
    for (int row = 0; row < page.rowCount(); ++row)
        rows.append(page.row(row).toByteArray());
    const QByteArray old = rows.value(0);
    const quint32 highestFree = free.isEmpty() ? 0 : *std::max_element(free.cbegin(), free.cend());
    qsizetype bitmapSize = old.size() - kJetInlineMapBitmapStart;
    const qsizetype needed = (qsizetype(highestFree) / 8 / kGlobalMapGrowth + 1) * kGlobalMapGrowth;
    bitmapSize = std::max(bitmapSize, needed);
    QByteArray bitmap(bitmapSize, '\0');
    for (quint32 bit = 0; bit < quint32(bitmapSize) * 8; ++bit)
        setBit(bitmap, bit, bit >= pageCount || free.contains(bit));
    rows[0] = old.left(kJetInlineMapBitmapStart) + bitmap;
    const quint32 owner = qFromLittleEndian<quint32>(
        m_pages.page(kJetGlobalUsageMap.page).constData() + m_file.format().ownerOffset);
    const QList<QByteArray> built = buildJet4DataPages(owner, rows);
    if (built.size() != 1)
        failImport(QStringLiteral("the map of the file's free pages would outgrow its page"));
    m_changed.insert(kJetGlobalUsageMap.page, built.first());
}

// The rows as stored, `columns` laid out for them; fails for a column type
// the writer does not store and a value that does not fit.
QList<QByteArray> encodedRows(QList<JetColumn>& columns, const QList<QVariantList>& rows) {
    for (const JetColumn& column : columns) {
        if (!isWritableJetType(column.type))
            failImport(QStringLiteral("column %1 is of a type that is not written (%2)")
                           .arg(column.name)
                           .arg(column.type));
    }
    layOutJet4Columns(columns);
    QList<QByteArray> encoded;
    for (const QVariantList& row : rows)
        encoded.append(encodeJet4Row(columns, row));
    return encoded;
}

// Only an inline global map starting at page 0, on a page of rows that can
// be packed anew around it, is written.
void Rebuild::refuseGlobalMapOfAnotherKind() const {
    const QByteArray globalRow = m_pages.row(kJetGlobalUsageMap);
    if (globalRow.size() <= kJetInlineMapBitmapStart || globalRow.at(0) != kJetInlineMap ||
        qFromLittleEndian<quint32>(globalRow.constData() + 1) != 0)
        failImport(
            QStringLiteral("the map of the file's free pages is of a kind that is not written"));
    const JetDataPage globalPage = m_pages.dataPage(kJetGlobalUsageMap.page);
    for (int row = 0; row < globalPage.rowCount(); ++row) {
        if (globalPage.isDeleted(row) || globalPage.isOverflow(row))
            failImport(QStringLiteral("the page of the file's free-page map holds moved or deleted "
                                      "rows"));
    }
}

quint32 PagePlan::take() {
    const quint32 number = taken < available.size() ? available[taken] : next++;
    ++taken;
    free.remove(number);
    return number;
}

QList<quint32> PagePlan::release() {
    const QList<quint32> released = taken < own.size() ? own.mid(taken) : QList<quint32>();
    for (const quint32 page : released)
        free.insert(page);
    return released;
}

PagePlan Rebuild::planPages(quint32 definitionPage, const JetTableDefinition& old) const {
    PagePlan plan;
    plan.next = m_file.pageCount();
    plan.own = old.pages.mid(1);
    for (const quint32 number : usageMapPages(m_pages, old.usageMap)) {
        if (number < plan.next && m_pages.dataPage(number).belongsTo(definitionPage))
            plan.own.append(number);
    }
    std::sort(plan.own.begin(), plan.own.end());
    plan.own.erase(std::unique(plan.own.begin(), plan.own.end()), plan.own.end());
    for (const quint32 number : usageMapPages(m_pages, kJetGlobalUsageMap)) {
        if (number < plan.next && !plan.own.contains(number) && number != definitionPage)
            plan.free.insert(number);
    }
    QList<quint32> available = plan.own;
    QList<quint32> freeInOrder(plan.free.cbegin(), plan.free.cend());
    std::sort(freeInOrder.begin(), freeInOrder.end());
    plan.available = available + freeInOrder;
    return plan;
}

void Rebuild::run(QList<JetColumn> columns, const QList<QVariantList>& rows) {
    const JetCatalog catalog = readCatalog(m_pages, JetTextDecoder::jet4());
    const JetCatalogTable table = findTable(catalog);
    refuseRelationships(catalog);
    const QList<QByteArray> encoded = encodedRows(columns, rows);
    const QList<QByteArray> dataPages = buildJet4DataPages(table.definitionPage, encoded);
    const JetTableDefinition old = readTableMaps(m_pages, table.definitionPage);
    if (old.indexCount != 0)
        failImport(QStringLiteral("table %1 has indexes").arg(m_name));
    refuseGlobalMapOfAnotherKind();

    PagePlan plan = planPages(table.definitionPage, old);
    const QByteArray definition =
        jet4TableDefinition(columns, rows.size(), old.usageMap, old.freeSpaceMap);
    QList<quint32> definitionPages{table.definitionPage};
    while (definitionPages.size() < jet4DefinitionPageCount(definition.size()))
        definitionPages.append(plan.take());
    QList<quint32> dataPageNumbers;
    for (qsizetype i = 0; i < dataPages.size(); ++i)
        dataPageNumbers.append(plan.take());
    const QList<quint32> released = plan.release();

    QList<quint32> ownedSorted = dataPageNumbers;
    std::sort(ownedSorted.begin(), ownedSorted.end());
    writeMap(old.usageMap, ownedSorted);
    QList<quint32> withRoom;
    if (!dataPages.isEmpty() && JetDataPage(0, dataPages.last(), m_file.format()).freeSpace() > 0)
        withRoom.append(dataPageNumbers.last());
    writeMap(old.freeSpaceMap, withRoom);
    nullCatalogProperties(table);
    // Whatever the table's structures take is in use, whatever the old map
    // said of it.
    for (auto it = m_changed.cbegin(); it != m_changed.cend(); ++it)
        plan.free.remove(it.key());
    writeGlobalMap(plan.free, plan.next);

    const QList<QByteArray> definitionBytes = jet4DefinitionPages(definition, definitionPages);
    for (qsizetype i = 0; i < definitionPages.size(); ++i)
        m_changed.insert(definitionPages[i], definitionBytes[i]);
    for (qsizetype i = 0; i < dataPages.size(); ++i)
        m_changed.insert(dataPageNumbers[i], dataPages[i]);
    for (const quint32 number : released)
        m_changed.insert(number, QByteArray(m_file.format().pageSize, '\0'));
    for (auto it = m_changed.cbegin(); it != m_changed.cend(); ++it)
        m_file.write(it.key(), it.value());
    checkWritten(table.definitionPage, columns, encoded);
}

// Reads the table back from the written pages: every row stored as it was
// meant to be, the table's pages accounted for.
void Rebuild::checkWritten(quint32 definitionPage, const QList<JetColumn>& columns,
                           const QList<QByteArray>& encoded) const {
    const JetPages written(m_file.format(), [this](quint32 number, QByteArray& page) {
        return m_file.read(number, page);
    });
    JetTable table(written, m_name, definitionPage, JetTextDecoder::jet4());
    qsizetype count = 0;
    while (table.fetchRow()) {
        if (count >= encoded.size() || encodeJet4Row(columns, table.rowValues()) != encoded[count])
            failImport(
                QStringLiteral("row %1 does not read back as it was written").arg(count + 1));
        ++count;
    }
    const QStringList problems = checkJetPageAccounting(written, {definitionPage});
    // Readers find the table through its catalog row, which the rebuild changed.
    if (findTable(readCatalog(written, JetTextDecoder::jet4())).definitionPage != definitionPage)
        failImport(QStringLiteral("the catalog no longer leads to the rebuilt table"));
    if (count != encoded.size() || !problems.isEmpty())
        failImport(QStringLiteral("the rebuilt table does not read back whole: %1")
                       .arg(problems.join(QLatin1Char(' '))));
}

} // namespace

void refuseOpenJetFile(const QString& path) {
    const QFileInfo file(path);
    const QString lock = file.dir().filePath(file.completeBaseName() + QStringLiteral(".ldb"));
    if (QFileInfo::exists(lock))
        failImport(QStringLiteral("the database engine has it open (%1 lies beside it): close "
                                  "the programs that use it, or remove the lock file a program "
                                  "that ended without closing it left")
                       .arg(QDir::toNativeSeparators(lock)));
}

void rebuildJetTable(JetPageFile& file, const QString& name, QList<JetColumn> columns,
                     const QList<QVariantList>& rows) {
    if (!file.format().jet4)
        failImport(QStringLiteral("only Jet 4 files are written, it is a Jet 3 file"));
    Rebuild(file, name).run(std::move(columns), rows);
}

void rebuildJetTable(const QString& path, const QString& name, QList<JetColumn> columns,
                     const QList<QVariantList>& rows, platform::FileCalls& calls) {
    try {
        refuseOpenJetFile(path);
        requireImportableJetFile(path);
        QFile original(path);
        if (!original.open(QIODevice::ReadOnly))
            failImport(QStringLiteral("it cannot be read: %1").arg(original.errorString()));
        QByteArray bytes = original.readAll();
        original.close();
        auto buffer = std::make_unique<QBuffer>(&bytes);
        buffer->open(QIODevice::ReadWrite);
        JetPageFile file(std::move(buffer));
        rebuildJetTable(file, name, std::move(columns), rows);
        if (const std::optional<platform::WriteFailure> failure =
                platform::replaceFile(path, bytes, calls))
            failImport(failure->reason);
    } catch (const Failure& failure) {
        failImport(QStringLiteral("%1 cannot be rebuilt in %2: %3")
                       .arg(name, QDir::toNativeSeparators(path), failure.description));
    }
}

} // namespace kpl
