#pragma once

#include "jetimport/FileKind.h"

#include <QByteArray>
#include <QByteArrayView>

namespace kpl {

// What the file header (page 0) says about the whole file. Past its first
// 0x18 bytes the header is stored XOR-ed with a fixed key stream (126 bytes
// in Jet 3, 128 in Jet 4); the fields below are read from the unmasked
// bytes.
struct JetHeader {
    FileKind kind = FileKind::Unknown; // Jet3 or Jet4; anything else is refused
    int codePage = 0;                  // of Jet 3 text; 0 when the file names none
    quint32 encryptionKey = 0;         // 0 unless the pages are encrypted

    // Reads the header from the first page of a file; fails (naming no
    // file) when it is no Jet 3 or Jet 4 header, or names an encrypted file.
    static JetHeader read(QByteArrayView firstPage);
};

// `header` with its masked bytes unmasked (or masked again: the mask is its
// own inverse). The header must hold at least the masked stretch.
QByteArray unmaskedJetHeader(QByteArrayView header, FileKind kind);

} // namespace kpl
