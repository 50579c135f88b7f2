#include "jetimport/JetDataPageBuilder.h"

#include "jetimport/ImportFailure.h"

#include <QtEndian>

namespace kpl {

namespace {

constexpr int kPageSize = 4096;
constexpr int kHeaderSize = 14;
constexpr int kEntrySize = 2;
constexpr char kDataPageType = 0x01;
constexpr qsizetype kFreeSpaceOffset = 2;
constexpr qsizetype kOwnerOffset = 4;
constexpr qsizetype kRowCountOffset = 12;

QByteArray dataPage(quint32 owner, const QList<QByteArray>& rows) {
    QByteArray page(kPageSize, '\0');
    page[0] = kDataPageType;
    page[1] = 0x01;
    int rowBytes = 0;
    int start = kPageSize;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        start -= int(rows[i].size());
        rowBytes += int(rows[i].size());
        page.replace(start, rows[i].size(), rows[i]);
        qToLittleEndian(quint16(start), page.data() + kHeaderSize + kEntrySize * i);
    }
    qToLittleEndian(quint16(jet4FreeSpace(int(rows.size()), rowBytes)),
                    page.data() + kFreeSpaceOffset);
    qToLittleEndian(owner, page.data() + kOwnerOffset);
    qToLittleEndian(quint16(rows.size()), page.data() + kRowCountOffset);
    return page;
}

} // namespace

int jet4FreeSpace(int rowCount, int rowBytes) {
    return kPageSize - kHeaderSize - kEntrySize * rowCount - rowBytes;
}

QList<QByteArray> buildJet4DataPages(quint32 owner, const QList<QByteArray>& rows) {
    QList<QByteArray> pages;
    QList<QByteArray> onPage;
    int rowBytes = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const int size = int(rows[i].size());
        if (size > kJet4LongestRow)
            failImport(QStringLiteral("Row %1 takes %2 bytes; a row takes at most %3.")
                           .arg(i + 1)
                           .arg(size)
                           .arg(kJet4LongestRow));
        if (onPage.size() == kJet4MostRowsAPage ||
            jet4FreeSpace(int(onPage.size()) + 1, rowBytes + size) < 0) {
            pages.append(dataPage(owner, onPage));
            onPage.clear();
            rowBytes = 0;
        }
        onPage.append(rows[i]);
        rowBytes += size;
    }
    if (!onPage.isEmpty())
        pages.append(dataPage(owner, onPage));
    return pages;
}

} // namespace kpl
