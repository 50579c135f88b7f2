#include "jetimport/JetPages.h"

#include "jetimport/ImportFailure.h"

#include <QtEndian>

namespace kpl {

namespace {
constexpr quint16 kDeletedRow = 0x8000;
constexpr quint16 kOverflowRow = 0x4000;
constexpr quint16 kRowStartMask = 0x1fff;
} // namespace

JetRowPointer JetRowPointer::read(QByteArrayView bytes) {
    if (bytes.size() < 4)
        failImport(QStringLiteral("A row pointer is cut short."));
    const auto byte = [&bytes](int i) { return quint32(quint8(bytes[i])); };
    return JetRowPointer{byte(1) | byte(2) << 8 | byte(3) << 16, int(byte(0))};
}

JetDataPage::JetDataPage(quint32 number, QByteArray bytes, const JetFormat& format)
    : m_number(number), m_bytes(std::move(bytes)), m_format(&format) {}

bool JetDataPage::isDataPage() const {
    return m_bytes.at(0) == kJetDataPage;
}

bool JetDataPage::belongsTo(quint32 definitionPage) const {
    return isDataPage() &&
           qFromLittleEndian<quint32>(m_bytes.constData() + m_format->ownerOffset) == definitionPage;
}

int JetDataPage::rowCount() const {
    return qFromLittleEndian<quint16>(m_bytes.constData() + m_format->rowCountOffset);
}

int JetDataPage::freeSpace() const {
    return qFromLittleEndian<quint16>(m_bytes.constData() + m_format->freeSpaceOffset);
}

quint16 JetDataPage::entry(int row) const {
    const qsizetype at = m_format->dataPageHeaderSize() + m_format->rowEntrySize * qsizetype(row);
    if (row < 0 || row >= rowCount() || at + 2 > m_bytes.size())
        failImport(QStringLiteral("Page %1 has no row %2.").arg(m_number).arg(row));
    return qFromLittleEndian<quint16>(m_bytes.constData() + at);
}

bool JetDataPage::isDeleted(int row) const {
    return (entry(row) & kDeletedRow) != 0;
}

bool JetDataPage::isOverflow(int row) const {
    return (entry(row) & kOverflowRow) != 0;
}

QByteArrayView JetDataPage::row(int row) const {
    const int start = entry(row) & kRowStartMask;
    const int end = row == 0 ? m_format->pageSize : entry(row - 1) & kRowStartMask;
    const int entriesEnd = m_format->dataPageHeaderSize() + m_format->rowEntrySize * rowCount();
    if (start < entriesEnd || start > end || end > m_bytes.size())
        failImport(
            QStringLiteral("Row %1 of page %2 lies outside its page.").arg(row).arg(m_number));
    return QByteArrayView(m_bytes).sliced(start, end - start);
}

qsizetype JetDataPage::rowStart(int row) const {
    return this->row(row).constData() - m_bytes.constData();
}

JetPages::JetPages(const JetFormat& format, Reader reader)
    : m_format(&format), m_reader(std::move(reader)) {}

QByteArray JetPages::page(quint32 number) const {
    QByteArray bytes;
    const QString problem =
        number == 0 ? QStringLiteral("it is the file header") : m_reader(number, bytes);
    if (!problem.isEmpty() || bytes.size() != m_format->pageSize)
        failImport(QStringLiteral("Page %1 cannot be read (%2); the file is damaged.")
                       .arg(number)
                       .arg(problem));
    return bytes;
}

JetDataPage JetPages::dataPage(quint32 number) const {
    return JetDataPage(number, page(number), *m_format);
}

QByteArray JetPages::row(const JetRowPointer& pointer) const {
    const JetDataPage data = dataPage(pointer.page);
    if (!data.isDataPage())
        failImport(QStringLiteral("Page %1 is no data page.").arg(pointer.page));
    return data.row(pointer.row).toByteArray();
}

} // namespace kpl
