#include "jetimport/JetRow.h"

#include "jetimport/ImportFailure.h"

namespace kpl {

namespace {
constexpr int kJet3JumpSize = 256;
} // namespace

JetRow::JetRow(QByteArrayView bytes, const JetFormat& format) : m_bytes(bytes), m_format(&format) {
    if (m_bytes.size() < m_format->rowCountFieldSize)
        failDamaged(QStringLiteral("it is empty"));
    m_columnCount = byteAt(0) | (m_format->rowCountFieldSize == 2 ? byteAt(1) << 8 : 0);
    m_nullMaskStart = m_bytes.size() - (m_columnCount + 7) / 8;
    if (m_nullMaskStart < m_format->rowCountFieldSize)
        failDamaged(QStringLiteral("its null mask does not fit into it"));
}

bool JetRow::hasValue(const JetColumn& column) const {
    if (column.number >= m_columnCount)
        return false;
    return (byteAt(m_nullMaskStart + column.number / 8) >> (column.number % 8)) & 1;
}

QByteArrayView JetRow::value(const JetColumn& column) const {
    qsizetype start = 0;
    qsizetype end = 0;
    if (column.fixedLength) {
        start = m_format->rowCountFieldSize + column.fixedOffset;
        end = start + column.size;
        if (end > (m_offsets ? m_offsetTableStart : m_nullMaskStart))
            failDamaged(QStringLiteral("the value of column %1 lies outside it").arg(column.name));
        return m_bytes.sliced(start, end - start);
    }
    if (!m_offsets)
        m_offsets = readVariableOffsets();
    if (column.variableIndex + 1 >= m_offsets->size())
        failDamaged(QStringLiteral("it has no place for the value of column %1").arg(column.name));
    start = m_offsets->at(column.variableIndex);
    end = m_offsets->at(column.variableIndex + 1);
    if (start < m_format->rowCountFieldSize || start > end || end > m_offsetTableStart)
        failDamaged(QStringLiteral("the value of column %1 lies outside it").arg(column.name));
    return m_bytes.sliced(start, end - start);
}

QList<int> JetRow::readVariableOffsets() const {
    const qsizetype countAt = m_nullMaskStart - m_format->rowCountFieldSize;
    const int count =
        byteAt(countAt) | (m_format->rowCountFieldSize == 2 ? byteAt(countAt + 1) << 8 : 0);
    if (!m_format->jet4)
        return readJet3Offsets(count);
    // Jet 4: two bytes per offset, the first one nearest to the count.
    QList<int> offsets;
    for (int i = 0; i <= count; ++i) {
        const qsizetype at = countAt - 2 * (i + 1);
        offsets.append(byteAt(at) | byteAt(at + 1) << 8);
    }
    m_offsetTableStart = countAt - 2 * (count + 1);
    return offsets;
}

// The jump table lies between the offsets and their count, one byte per 256
// bytes of row; the last jump may be unused. Each entry names the value from
// which on offsets count 256 more.
QList<int> JetRow::readJet3Offsets(int count) const {
    const qsizetype countAt = m_nullMaskStart - 1;
    int jumps = int((m_bytes.size() - 1) / kJet3JumpSize);
    const qsizetype firstOffsetAt = countAt - jumps - 1;
    if ((firstOffsetAt - count) / kJet3JumpSize < jumps)
        --jumps;
    QList<int> offsets;
    int jumpsPassed = 0;
    for (int i = 0; i <= count; ++i) {
        while (jumpsPassed < jumps && byteAt(countAt - jumpsPassed - 1) == i)
            ++jumpsPassed;
        offsets.append(byteAt(firstOffsetAt - i) + jumpsPassed * kJet3JumpSize);
    }
    m_offsetTableStart = firstOffsetAt - count;
    return offsets;
}

int JetRow::byteAt(qsizetype at) const {
    if (at < 0 || at >= m_bytes.size())
        failDamaged(QStringLiteral("its table of values reaches outside it"));
    return quint8(m_bytes[at]);
}

void JetRow::failDamaged(const QString& what) const {
    failImport(QStringLiteral("The row is damaged: %1.").arg(what));
}

} // namespace kpl
