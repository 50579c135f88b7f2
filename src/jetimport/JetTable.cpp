#include "jetimport/JetTable.h"

#include "core/Failure.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetLongValue.h"
#include "jetimport/JetTableDefinition.h"
#include "jetimport/JetUsageMap.h"
#include "jetimport/JetValues.h"

namespace kpl {

namespace {

// An overflow row may have moved again; a longer chain is damage.
constexpr int kMostOverflowSteps = 16;

// Runs `action`; a failure it throws is thrown again with `context` in front.
// The context is made only when a failure needs it: a scan asks for it once
// per value.
template <class Context, class Action> auto inContext(const Context& context, Action&& action) {
    try {
        return action();
    } catch (const Failure& failure) {
        failImport(context() + failure.description);
    }
}

} // namespace

JetTable::JetTable(const JetPages& pages, const QString& name, quint32 definitionPage,
                   const JetTextDecoder& decoder)
    : m_pages(pages), m_name(name), m_definitionPage(definitionPage), m_decoder(decoder) {
    const auto context = [this] { return tableContext(); };
    inContext(context, [&] {
        const JetTableDefinition definition = readTableDefinition(pages, definitionPage, decoder);
        m_columns = definition.columns;
        m_declaredRowCount = definition.declaredRowCount;
        m_dataPages = usageMapPages(pages, definition.usageMap);
    });
}

bool JetTable::fetchRow() {
    while (m_page || m_nextPage < m_dataPages.size()) {
        if (!m_page) {
            const quint32 number = m_dataPages.at(m_nextPage++);
            m_page = inContext([this] { return tableContext(); },
                               [&] { return m_pages.dataPage(number); });
            m_nextRow = 0;
            if (!m_page->belongsTo(m_definitionPage))
                m_page.reset();
            continue;
        }
        if (nextRowOnPage())
            return true;
        m_page.reset();
    }
    return false;
}

// Moves to the next row of the current page that is not deleted; false when
// there is none.
bool JetTable::nextRowOnPage() {
    while (m_nextRow < m_page->rowCount()) {
        const int row = m_nextRow++;
        if (m_page->isDeleted(row))
            continue;
        ++m_rowsFetched;
        m_row.reset();
        const auto context = [this] { return rowContext(); };
        inContext(context, [&] {
            m_rowPointer = storedRowPointer(*m_page, row);
            m_rowBytes = m_rowPointer.page == m_page->number()
                             ? m_page->row(m_rowPointer.row).toByteArray()
                             : m_pages.row(m_rowPointer);
            m_row.emplace(m_rowBytes, m_pages.format());
        });
        return true;
    }
    return false;
}

// Where the row's data lies: the row itself, or for an overflow row the row
// its first four bytes point to (a row of the same table, itself marked
// deleted so that a scan passes it over).
JetRowPointer JetTable::storedRowPointer(const JetDataPage& page, int row) const {
    JetRowPointer pointer{page.number(), row};
    for (int step = 0; step <= kMostOverflowSteps; ++step) {
        const JetDataPage target =
            pointer.page == page.number() ? page : m_pages.dataPage(pointer.page);
        if (!target.belongsTo(m_definitionPage))
            break;
        if (!target.isOverflow(pointer.row))
            return pointer;
        pointer = JetRowPointer::read(target.row(pointer.row));
    }
    failImport(QStringLiteral("The row's data is not where its overflow pointer leads (page %1, "
                              "row %2).")
                   .arg(pointer.page)
                   .arg(pointer.row));
}

QVariantList JetTable::rowValues() const {
    QVariantList values;
    for (int i = 0; i < m_columns.size(); ++i)
        values.append(value(i));
    return values;
}

QVariant JetTable::value(int index) const {
    const JetColumn& column = m_columns.at(index);
    return inContext([this] { return rowContext(); }, [&] { return decodedValue(column); });
}

QVariant JetTable::decodedValue(const JetColumn& column) const {
    return jetValue(*m_row, column, m_decoder, m_pages);
}

QVariant jetValue(const JetRow& row, const JetColumn& column, const JetTextDecoder& decoder,
                  const JetPages& pages) {
    // A Yes/No value is the column's bit in the null mask.
    if (column.type == jet::YesNo)
        return QVariant(row.hasValue(column));
    if (!row.hasValue(column))
        return QVariant();
    const QByteArrayView bytes = row.value(column);
    switch (column.type) {
    case jet::Text:
        return decoder.decode(bytes);
    case jet::Memo:
        return decoder.decode(readLongValue(pages, bytes));
    case jet::Ole:
        return readLongValue(pages, bytes);
    case jet::Decimal:
        return QVariant::fromValue(jetDecimal(bytes, column.scale));
    default:
        return fixedValue(column.type, bytes);
    }
}

QString JetTable::tableContext() const {
    return QStringLiteral("Table %1: ").arg(m_name);
}

QString JetTable::rowContext() const {
    return QStringLiteral("Table %1: row %2: ").arg(m_name).arg(m_rowsFetched);
}

} // namespace kpl
