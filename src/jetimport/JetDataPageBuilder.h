#pragma once

#include <QByteArray>
#include <QList>

namespace kpl {

// Jet 4 data pages: a 14-byte header (page type, free space, the page of the
// owning table's definition, the number of rows), one 2-byte entry per row
// with the row's start, and the rows packed from the end of the page
// towards the entries. The free space is what neither takes:
// 4096 - 14 - 2 * rows - the rows' bytes.
constexpr int kJet4MostRowsAPage = 255;
constexpr int kJet4LongestRow = 4060;

// The free space a Jet 4 data page holding rows of `rowBytes` bytes in all,
// `rowCount` of them, has.
int jet4FreeSpace(int rowCount, int rowBytes);

// The data pages of the table defined on page `owner` holding `rows` in
// order, each page filled as far as the next row fits. Fails (naming the
// row) for a row longer than kJet4LongestRow.
QList<QByteArray> buildJet4DataPages(quint32 owner, const QList<QByteArray>& rows);

} // namespace kpl
