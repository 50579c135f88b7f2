#include "jetimport/JetDataPageBuilder.h"

#include "jetimport/ImportFailure.h"
#include "jetimport/JetFormat.h"

#include <QtEndian>

namespace kpl {

namespace {

const JetFormat& jet4() {
    return JetFormat::of(FileKind::Jet4);
}

QByteArray dataPage(quint32 owner, const QList<QByteArray>& rows) {
    const JetFormat& format = jet4();
    QByteArray page(format.pageSize, '\0');
    page[0] = kJetDataPage;
    page[1] = 0x01;
    int rowBytes = 0;
    int start = format.pageSize;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        start -= int(rows[i].size());
        rowBytes += int(rows[i].size());
        page.replace(start, rows[i].size(), rows[i]);
        qToLittleEndian(quint16(start),
                        page.data() + format.dataPageHeaderSize() + format.rowEntrySize * i);
    }
    qToLittleEndian(quint16(jet4FreeSpace(int(rows.size()), rowBytes)),
                    page.data() + format.freeSpaceOffset);
    qToLittleEndian(owner, page.data() + format.ownerOffset);
    qToLittleEndian(quint16(rows.size()), page.data() + format.rowCountOffset);
    return page;
}

} // namespace

int jet4FreeSpace(int rowCount, int rowBytes) {
    const JetFormat& format = jet4();
    return format.pageSize - format.dataPageHeaderSize() - format.rowEntrySize * rowCount - rowBytes;
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
