#include "jetimport/JetDefinitionWriter.h"

#include "jetimport/JetFormat.h"

#include <QtEndian>

#include <algorithm>

namespace kpl {

namespace {

const JetFormat& jet4() {
    return JetFormat::of(FileKind::Jet4);
}

// Page header of every definition page: type, a constant byte, the free
// space, the next page of the definition (0 on its last page).
constexpr qsizetype kFreeSpaceOffset = 2;
constexpr qsizetype kNextPageOffset = 4;
constexpr qsizetype kContinuationHeaderSize = 8;
// The definition's length, stated on its first page.
constexpr qsizetype kLengthOffset = 8;
// A stamp Jet 4 writers put in the header and in each column entry; readers
// need it not, the engine's own definitions all carry it.
constexpr quint32 kDefinitionStamp = 0x0659;
constexpr qsizetype kHeaderStampOffset = 0x0c;
constexpr qsizetype kColumnStampOffset = 1;
constexpr qsizetype kSecondColumnNumberOffset = 9;
// Header fields every writer sets alike: a constant 1 and the table's kind
// ('N', a user table); the highest column number used comes before the
// number of variable-length columns.
constexpr qsizetype kConstantOneOffset = 0x18;
constexpr qsizetype kTableKindOffset = 0x28;
constexpr char kUserTable = 0x4e;
constexpr qsizetype kMostColumnsOffset = 0x29;
// Text columns: the sort order (General, 1033) where Decimal keeps its
// precision and scale.
constexpr quint16 kGeneralSortOrder = 0x0409;
// Column flags: a column may be Null and updated.
constexpr int kUpdatableColumn = 0x02;
constexpr quint16 kEndMark = 0xffff;

template <class T> void put(QByteArray& bytes, qsizetype at, T value) {
    qToLittleEndian(value, bytes.data() + at);
}

QByteArray columnEntry(const JetColumn& column) {
    const JetFormat& format = jet4();
    QByteArray entry(format.columnEntrySize, '\0');
    entry[format.columnTypeOffset] = char(column.type);
    put(entry, kColumnStampOffset, kDefinitionStamp);
    put(entry, format.columnNumberOffset, quint16(column.number));
    put(entry, format.variableIndexOffset, quint16(column.variableIndex));
    put(entry, kSecondColumnNumberOffset, quint16(column.number));
    if (column.type == jet::Decimal) {
        entry[format.precisionOffset] = char(column.precision);
        entry[format.scaleOffset] = char(column.scale);
    } else if (column.type == jet::Text) {
        put(entry, format.precisionOffset, kGeneralSortOrder);
    }
    entry[format.columnFlagsOffset] =
        char(kUpdatableColumn | (column.fixedLength ? kFixedLengthColumn : 0));
    put(entry, format.fixedOffsetOffset, quint16(column.fixedOffset));
    put(entry, format.columnLengthOffset, quint16(column.size));
    return entry;
}

} // namespace

QByteArray jetRowPointerBytes(const JetRowPointer& pointer) {
    QByteArray bytes(4, '\0');
    put(bytes, 0, pointer.page << 8 | quint32(pointer.row));
    return bytes;
}

QByteArray jet4TableDefinition(const QList<JetColumn>& columns, qint64 rowCount,
                               const JetRowPointer& usageMap, const JetRowPointer& freeSpaceMap) {
    const JetFormat& format = jet4();
    QByteArray bytes(format.firstIndexOffset, '\0');
    bytes[0] = kJetDefinitionPage;
    bytes[1] = 0x01;
    put(bytes, kHeaderStampOffset, kDefinitionStamp);
    put(bytes, format.declaredRowCountOffset, quint32(rowCount));
    put(bytes, kConstantOneOffset, quint32(1));
    bytes[kTableKindOffset] = kUserTable;
    const auto variable =
        std::count_if(columns.cbegin(), columns.cend(),
                      [](const JetColumn& column) { return !column.fixedLength; });
    put(bytes, kMostColumnsOffset, quint16(columns.size()));
    put(bytes, format.variableColumnCountOffset, quint16(variable));
    put(bytes, format.columnCountOffset, quint16(columns.size()));
    bytes.replace(format.usageMapOffset, 4, jetRowPointerBytes(usageMap));
    bytes.replace(format.usageMapOffset + 4, 4, jetRowPointerBytes(freeSpaceMap));
    for (const JetColumn& column : columns)
        bytes += columnEntry(column);
    for (const JetColumn& column : columns) {
        QByteArray name(format.nameLengthSize + 2 * column.name.size(), '\0');
        put(name, 0, quint16(2 * column.name.size()));
        for (qsizetype i = 0; i < column.name.size(); ++i)
            put(name, format.nameLengthSize + 2 * i, column.name[i].unicode());
        bytes += name;
    }
    bytes += QByteArray(2, '\0');
    put(bytes, bytes.size() - 2, kEndMark);
    put(bytes, kLengthOffset, quint32(bytes.size()));
    return bytes;
}

int jet4DefinitionPageCount(qsizetype size) {
    const qsizetype pageSize = jet4().pageSize;
    const qsizetype perContinuation = pageSize - kContinuationHeaderSize;
    return 1 +
           int((std::max(size - pageSize, qsizetype(0)) + perContinuation - 1) / perContinuation);
}

QList<QByteArray> jet4DefinitionPages(const QByteArray& definition, const QList<quint32>& numbers) {
    Q_ASSERT(numbers.size() == jet4DefinitionPageCount(definition.size()));
    const qsizetype pageSize = jet4().pageSize;
    QList<QByteArray> pages;
    qsizetype at = 0;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        QByteArray page = i == 0 ? QByteArray() : QByteArray(kContinuationHeaderSize, '\0');
        page += definition.mid(at, pageSize - page.size());
        at += page.size() - (i == 0 ? 0 : kContinuationHeaderSize);
        const qsizetype used = page.size();
        page += QByteArray(pageSize - used, '\0');
        page[0] = kJetDefinitionPage;
        page[1] = 0x01;
        put(page, kFreeSpaceOffset,
            quint16(std::max(pageSize - kContinuationHeaderSize - used, qsizetype(0))));
        put(page, kNextPageOffset, i + 1 < numbers.size() ? numbers[i + 1] : quint32(0));
        pages.append(page);
    }
    return pages;
}

} // namespace kpl
