#include "jetimport/JetTableDefinition.h"

#include "jetimport/ImportFailure.h"

#include <QStringList>
#include <QtEndian>

namespace kpl {

namespace {

constexpr qsizetype kNextPageOffset = 4;
// A definition that goes on over further pages continues after their header.
constexpr qsizetype kContinuationStart = 8;

// Reads the definition's little-endian numbers and byte runs; anything
// beyond its end is damage.
class DefinitionReader {
public:
    DefinitionReader(QByteArray bytes, quint32 page) : m_bytes(std::move(bytes)), m_page(page) {}

    QByteArrayView bytes(qsizetype at, qsizetype length) const {
        if (at < 0 || length < 0 || at + length > m_bytes.size())
            fail(QStringLiteral("it is cut short"));
        return QByteArrayView(m_bytes).sliced(at, length);
    }
    quint32 number(qsizetype at, int size) const {
        const QByteArrayView field = bytes(at, size);
        quint32 value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | quint8(field[i]);
        return value;
    }
    [[noreturn]] void fail(const QString& reason) const {
        failImport(QStringLiteral("The table definition on page %1 is damaged: %2.")
                       .arg(m_page)
                       .arg(reason));
    }

private:
    QByteArray m_bytes;
    quint32 m_page;
};

QByteArray definitionBytes(const JetPages& pages, quint32 first, QList<quint32>& seen) {
    QByteArray bytes;
    for (quint32 number = first; number != 0;) {
        const QByteArray page = pages.page(number);
        if (page.at(0) != kJetDefinitionPage || seen.contains(number))
            failImport(QStringLiteral("Page %1 is no table definition of its own.").arg(number));
        seen.append(number);
        bytes += bytes.isEmpty() ? page : page.mid(kContinuationStart);
        number = qFromLittleEndian<quint32>(page.constData() + kNextPageOffset);
    }
    return bytes;
}

bool isKnownType(int type) {
    return (type >= jet::YesNo && type <= jet::Memo) || type == jet::ReplicationId ||
           type == jet::Decimal || type == jet::Complex;
}

JetColumn readColumn(const DefinitionReader& reader, const JetFormat& format, qsizetype entry) {
    JetColumn column;
    column.type = int(reader.number(entry + format.columnTypeOffset, 1));
    column.number = int(reader.number(entry + format.columnNumberOffset, 2));
    column.variableIndex = int(reader.number(entry + format.variableIndexOffset, 2));
    column.fixedLength = reader.number(entry + format.columnFlagsOffset, 1) & kFixedLengthColumn;
    column.fixedOffset = int(reader.number(entry + format.fixedOffsetOffset, 2));
    column.size = int(reader.number(entry + format.columnLengthOffset, 2));
    if (column.type == jet::Decimal && format.jet4) {
        column.precision = int(reader.number(entry + format.precisionOffset, 1));
        column.scale = int(reader.number(entry + format.scaleOffset, 1));
    }
    return column;
}

void checkColumns(const DefinitionReader& reader, const QList<JetColumn>& columns) {
    if (columns.isEmpty())
        reader.fail(QStringLiteral("it has no columns"));
    QStringList names;
    for (const JetColumn& column : columns) {
        if (column.name.isEmpty() || !isKnownType(column.type) ||
            names.contains(column.name, Qt::CaseInsensitive))
            reader.fail(QStringLiteral("nameless, untyped or doubled columns"));
        names.append(column.name);
    }
}

// Reads the definition's pages, row count and maps into `definition`;
// returns the reader of its bytes.
DefinitionReader readMaps(const JetPages& pages, quint32 page, JetTableDefinition& definition) {
    const JetFormat& format = pages.format();
    DefinitionReader reader(definitionBytes(pages, page, definition.pages), page);
    definition.declaredRowCount = reader.number(format.declaredRowCountOffset, 4);
    definition.indexCount = reader.number(format.indexCountOffset, 4);
    definition.usageMap = JetRowPointer::read(reader.bytes(format.usageMapOffset, 4));
    definition.freeSpaceMap = JetRowPointer::read(reader.bytes(format.usageMapOffset + 4, 4));
    return reader;
}

} // namespace

JetTableDefinition readTableMaps(const JetPages& pages, quint32 page) {
    JetTableDefinition definition;
    readMaps(pages, page, definition);
    return definition;
}

JetTableDefinition readTableDefinition(const JetPages& pages, quint32 page,
                                       const JetTextDecoder& names) {
    const JetFormat& format = pages.format();
    JetTableDefinition definition;
    const DefinitionReader reader = readMaps(pages, page, definition);
    const quint32 columnCount = reader.number(format.columnCountOffset, 2);
    const quint32 realIndexCount = reader.number(format.realIndexCountOffset, 4);
    qsizetype at = format.firstIndexOffset + qsizetype(realIndexCount) * format.realIndexEntrySize;
    for (quint32 i = 0; i < columnCount; ++i, at += format.columnEntrySize)
        definition.columns.append(readColumn(reader, format, at));
    for (JetColumn& column : definition.columns) {
        const qsizetype length = reader.number(at, format.nameLengthSize);
        at += format.nameLengthSize;
        column.name = names.decode(reader.bytes(at, length));
        at += length;
    }
    checkColumns(reader, definition.columns);
    return definition;
}

} // namespace kpl
