#include "jetimport/JetPageFile.h"

#include "jetimport/ImportFailure.h"

#include <QFile>

namespace kpl {

namespace {

// The header fields read lie within the first 0x100 bytes of both formats.
constexpr qint64 kHeaderReadSize = 0x100;

QByteArray readAt(QIODevice& device, qint64 at, qint64 size) {
    if (!device.seek(at))
        return {};
    return device.read(size);
}

} // namespace

JetPageFile::JetPageFile(std::unique_ptr<QIODevice> device)
    : m_device(std::move(device)),
      m_header(JetHeader::read(readAt(*m_device, 0, kHeaderReadSize))),
      m_pageCount(quint32(m_device->size() / format().pageSize)) {}

JetPageFile JetPageFile::open(const QString& path, QIODevice::OpenMode mode) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(mode))
        failImport(QStringLiteral("it cannot be opened: %1.").arg(file->errorString()));
    return JetPageFile(std::move(file));
}

QString JetPageFile::read(quint32 number, QByteArray& page) const {
    if (number >= m_pageCount)
        return QStringLiteral("the file ends before it");
    const int size = format().pageSize;
    page = readAt(*m_device, qint64(number) * size, size);
    if (page.size() != size)
        return m_device->errorString();
    return {};
}

QByteArray JetPageFile::page(quint32 number) const {
    QByteArray bytes;
    const QString problem = read(number, bytes);
    if (!problem.isEmpty())
        failImport(QStringLiteral("Page %1 cannot be read (%2).").arg(number).arg(problem));
    return bytes;
}

void JetPageFile::write(quint32 number, QByteArrayView page) {
    const int size = format().pageSize;
    Q_ASSERT(page.size() == size);
    if (number > m_pageCount)
        failImport(QStringLiteral("Page %1 lies beyond the end of the file.").arg(number));
    if (!m_device->seek(qint64(number) * size) ||
        m_device->write(page.data(), size) != size)
        failImport(QStringLiteral("Page %1 cannot be written: %2.")
                       .arg(number)
                       .arg(m_device->errorString()));
    m_pageCount = std::max(m_pageCount, number + 1);
}

} // namespace kpl
