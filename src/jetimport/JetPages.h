#pragma once

#include "jetimport/JetFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

namespace kpl {

// Where a row lies: rows that point to other rows (overflow rows, long
// values, usage maps) store the row number in one byte, then the page number
// in three.
struct JetRowPointer {
    quint32 page = 0;
    int row = 0;
    // From the first four of `bytes`; fails when there are fewer.
    static JetRowPointer read(QByteArrayView bytes);
};

// A data page: a table of row entries after the page header, the rows
// themselves packed from the end of the page towards it. Each entry holds
// the row's start and two flags: the row is deleted, or it only points to
// the row that holds its data (an overflow row, left behind when the row
// grew and moved). A row ends where the row before it starts.
class JetDataPage {
public:
    JetDataPage(quint32 number, QByteArray bytes, const JetFormat& format);

    quint32 number() const { return m_number; }
    bool isDataPage() const;
    // Whether the page is a data page of the table defined on `definitionPage`.
    bool belongsTo(quint32 definitionPage) const;
    int rowCount() const;
    // The free space the page's header states (Jet 4).
    int freeSpace() const;
    bool isDeleted(int row) const;
    bool isOverflow(int row) const;
    // The stored bytes of `row`; fails when the row or its place on the page
    // is damaged.
    QByteArrayView row(int row) const;
    // Where on the page `row` starts (its place checked as above).
    qsizetype rowStart(int row) const;

private:
    quint16 entry(int row) const;

    quint32 m_number;
    QByteArray m_bytes;
    const JetFormat* m_format;
};

// The pages of an open Jet file, read through the reader library.
class JetPages {
public:
    // Fills `page` with the page `number` (the format's page size); returns
    // why it cannot be read, "" when it was read.
    using Reader = std::function<QString(quint32 number, QByteArray& page)>;

    JetPages(const JetFormat& format, Reader reader);

    const JetFormat& format() const { return *m_format; }
    // The page `number`; fails when it cannot be read whole.
    QByteArray page(quint32 number) const;
    JetDataPage dataPage(quint32 number) const;
    // The bytes of the row `pointer` names, on whatever data page it lies;
    // fails when it names no row of a data page.
    QByteArray row(const JetRowPointer& pointer) const;

private:
    const JetFormat* m_format;
    Reader m_reader;
};

} // namespace kpl
