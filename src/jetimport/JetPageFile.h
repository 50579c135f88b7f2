#pragma once

#include "jetimport/JetFormat.h"
#include "jetimport/JetHeader.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>

namespace kpl {

// The pages of one Jet file: its header read and checked, its page size and
// count known, pages read and (where the device is open for writing)
// written whole. The reader takes pages from it, the writer rebuilds a
// table in a copy opened for writing.
class JetPageFile {
public:
    // Works on `device`, open for reading (and writing, for write()); its
    // size need not be a whole number of pages: a partial last page counts
    // as missing. Fails when the header names no readable Jet file.
    explicit JetPageFile(std::unique_ptr<QIODevice> device);
    // Opens the file at `path`; fails with the system's reason (naming no
    // file) when it cannot be opened.
    static JetPageFile open(const QString& path, QIODevice::OpenMode mode = QIODevice::ReadOnly);

    const JetHeader& header() const { return m_header; }
    const JetFormat& format() const { return JetFormat::of(m_header.kind); }
    quint32 pageCount() const { return m_pageCount; }

    // Fills `page` with page `number`; returns why it cannot be read, ""
    // when it was read (the reader function JetPages takes).
    QString read(quint32 number, QByteArray& page) const;
    // Page `number` (fails when it cannot be read).
    QByteArray page(quint32 number) const;
    // Writes page `number` (at most pageCount(): the page after the last is
    // appended); fails when the device refuses it.
    void write(quint32 number, QByteArrayView page);

private:
    std::unique_ptr<QIODevice> m_device;
    JetHeader m_header;
    quint32 m_pageCount = 0;
};

} // namespace kpl
