#pragma once

#include "jetimport/JetColumn.h"
#include "jetimport/JetPages.h"
#include "jetimport/JetRow.h"
#include "jetimport/JetText.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

namespace kpl {

// One table of an open Jet file, read row by row in stored order: the data
// pages its usage map marks, each page's rows in order. Deleted rows are
// passed over; an overflow row is read from the row it points to, where its
// data moved when it grew. Used while the file's pages are open.
//
// Values are decoded from the stored bytes: Null is an invalid QVariant
// (a Yes/No value is never Null), Text and Memo give QString (the empty
// text where a value is empty but not Null), OLE and Binary QByteArray,
// Decimal a Decimal with the column's scale, and the other fixed-size types
// as JetValues.h describes. Memo and OLE values are read whole, however
// long. Failures name the table and the row.
class JetTable {
public:
    JetTable(const JetPages& pages, const QString& name, quint32 definitionPage,
             const JetTextDecoder& decoder);

    const QString& name() const { return m_name; }
    const QList<JetColumn>& columns() const { return m_columns; }
    // The number of rows the file declares for the table: a hint, which
    // files edited for years carry out of date. The rows are the ones the
    // pages hold.
    qint64 declaredRowCount() const { return m_declaredRowCount; }

    // Moves to the next row; false after the last one.
    bool fetchRow();
    // The values of the current row, one per column in order.
    QVariantList rowValues() const;
    // The value of the column at `index` in the current row.
    QVariant value(int index) const;
    // Where the current row's data lies (for an overflow row, the row it
    // moved to).
    const JetRowPointer& rowPointer() const { return m_rowPointer; }

private:
    bool nextRowOnPage();
    JetRowPointer storedRowPointer(const JetDataPage& page, int row) const;
    QVariant decodedValue(const JetColumn& column) const;
    QString tableContext() const;
    QString rowContext() const;

    const JetPages& m_pages;
    QString m_name;
    quint32 m_definitionPage;
    JetTextDecoder m_decoder;
    QList<JetColumn> m_columns;
    qint64 m_declaredRowCount = 0;
    QList<quint32> m_dataPages;

    // Where the scan stands: the page it reads, the next row there, the
    // current row and how many rows were read.
    qsizetype m_nextPage = 0;
    std::optional<JetDataPage> m_page;
    int m_nextRow = 0;
    JetRowPointer m_rowPointer;
    QByteArray m_rowBytes;
    std::optional<JetRow> m_row;
    qint64 m_rowsFetched = 0;
};

// The value of `column` in `row`, decoded as described above; long values
// are read from `pages`.
QVariant jetValue(const JetRow& row, const JetColumn& column, const JetTextDecoder& decoder,
                  const JetPages& pages);

} // namespace kpl
