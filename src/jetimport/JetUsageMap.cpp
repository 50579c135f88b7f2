#include "jetimport/JetUsageMap.h"

#include "jetimport/ImportFailure.h"

#include <QtEndian>

namespace kpl {

namespace {


void appendMarkedPages(QList<quint32>& pages, QByteArrayView bitmap, quint32 firstPage) {
    for (qsizetype byte = 0; byte < bitmap.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            if (quint8(bitmap[byte]) & (1 << bit))
                pages.append(firstPage + quint32(byte * 8 + bit));
        }
    }
}

} // namespace

QList<quint32> usageMapPages(const JetPages& pages, const JetRowPointer& map) {
    const QByteArray row = pages.row(map);
    QList<quint32> marked;
    if (row.size() >= kJetInlineMapBitmapStart && row.at(0) == kJetInlineMap) {
        appendMarkedPages(marked, QByteArrayView(row).sliced(kJetInlineMapBitmapStart),
                          qFromLittleEndian<quint32>(row.constData() + 1));
        return marked;
    }
    if (row.isEmpty() || row.at(0) != kJetMapOfMapPages)
        failImport(QStringLiteral("The map of a table's pages is of an unknown kind."));
    const quint32 pagesPerMapPage = quint32(pages.format().pageSize - kJetMapPageBitmapStart) * 8;
    for (qsizetype at = 1, index = 0; at + 4 <= row.size(); at += 4, ++index) {
        const quint32 mapPage = qFromLittleEndian<quint32>(row.constData() + at);
        if (mapPage == 0)
            continue;
        const QByteArray bitmap = pages.page(mapPage);
        if (bitmap.at(0) != kJetMapPage)
            failImport(QStringLiteral("Page %1 is no page of a usage map.").arg(mapPage));
        appendMarkedPages(marked, QByteArrayView(bitmap).sliced(kJetMapPageBitmapStart),
                          quint32(index) * pagesPerMapPage);
    }
    return marked;
}

std::optional<QByteArray> inlineUsageMap(const QList<quint32>& marked, int rowSize) {
    QByteArray row(rowSize, '\0');
    row[0] = kJetInlineMap;
    const quint32 first = marked.isEmpty() ? 0 : marked.first() / 8 * 8;
    qToLittleEndian(first, row.data() + 1);
    for (const quint32 page : marked) {
        const quint32 bit = page - first;
        if (bit >= quint32(rowSize - kJetInlineMapBitmapStart) * 8)
            return std::nullopt;
        row[kJetInlineMapBitmapStart + bit / 8] = char(row[kJetInlineMapBitmapStart + bit / 8] | 1 << bit % 8);
    }
    return row;
}

} // namespace kpl
