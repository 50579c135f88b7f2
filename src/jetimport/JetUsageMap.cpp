#include "jetimport/JetUsageMap.h"

#include "jetimport/ImportFailure.h"

#include <QtEndian>

namespace kpl {

namespace {

constexpr char kInlineMap = 0x00;
constexpr char kMapOfMapPages = 0x01;
// Where the bitmap starts: in an inline map after its kind and first page,
// on a map page after the page header.
constexpr qsizetype kInlineBitmapStart = 5;
constexpr qsizetype kMapPageBitmapStart = 4;

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
    if (row.size() >= kInlineBitmapStart && row.at(0) == kInlineMap) {
        appendMarkedPages(marked, QByteArrayView(row).sliced(kInlineBitmapStart),
                          qFromLittleEndian<quint32>(row.constData() + 1));
        return marked;
    }
    if (row.isEmpty() || row.at(0) != kMapOfMapPages)
        failImport(QStringLiteral("The map of a table's pages is of an unknown kind."));
    const quint32 pagesPerMapPage = quint32(pages.format().pageSize - kMapPageBitmapStart) * 8;
    for (qsizetype at = 1, index = 0; at + 4 <= row.size(); at += 4, ++index) {
        const quint32 mapPage = qFromLittleEndian<quint32>(row.constData() + at);
        if (mapPage == 0)
            continue;
        const QByteArray bitmap = pages.page(mapPage);
        if (bitmap.at(0) != kJetMapPage)
            failImport(QStringLiteral("Page %1 is no page of a usage map.").arg(mapPage));
        appendMarkedPages(marked, QByteArrayView(bitmap).sliced(kMapPageBitmapStart),
                          quint32(index) * pagesPerMapPage);
    }
    return marked;
}

std::optional<QByteArray> inlineUsageMap(const QList<quint32>& marked, int rowSize) {
    QByteArray row(rowSize, '\0');
    row[0] = kInlineMap;
    const quint32 first = marked.isEmpty() ? 0 : marked.first() / 8 * 8;
    qToLittleEndian(first, row.data() + 1);
    for (const quint32 page : marked) {
        const quint32 bit = page - first;
        if (bit >= quint32(rowSize - kInlineBitmapStart) * 8)
            return std::nullopt;
        row[kInlineBitmapStart + bit / 8] = char(row[kInlineBitmapStart + bit / 8] | 1 << bit % 8);
    }
    return row;
}

} // namespace kpl
