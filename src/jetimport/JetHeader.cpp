#include "jetimport/JetHeader.h"

#include "jetimport/ImportFailure.h"

#include <QtEndian>

#include <array>

namespace kpl {

namespace {

constexpr qsizetype kMaskOffset = 0x18;
constexpr qsizetype kJet3MaskLength = 126;
constexpr qsizetype kJet4MaskLength = 128;
constexpr qsizetype kCodePageOffset = 0x3c;
constexpr qsizetype kEncryptionKeyOffset = 0x3e;
constexpr qsizetype kVersionOffset = 0x14;

// The mask is the RC4 key stream of this fixed key.
constexpr std::array<quint8, 4> kMaskKey{0xc7, 0xda, 0x39, 0x6b};

std::array<quint8, kJet4MaskLength> makeMask() {
    std::array<quint8, 256> state{};
    for (int i = 0; i < 256; ++i)
        state[i] = quint8(i);
    quint8 j = 0;
    for (int i = 0; i < 256; ++i) {
        j = quint8(j + state[i] + kMaskKey[i % kMaskKey.size()]);
        std::swap(state[i], state[j]);
    }
    std::array<quint8, kJet4MaskLength> mask{};
    quint8 a = 0;
    quint8 b = 0;
    for (quint8& byte : mask) {
        a = quint8(a + 1);
        b = quint8(b + state[a]);
        std::swap(state[a], state[b]);
        byte = state[quint8(state[a] + state[b])];
    }
    return mask;
}

qsizetype maskLength(FileKind kind) {
    return kind == FileKind::Jet3 ? kJet3MaskLength : kJet4MaskLength;
}

[[noreturn]] void failHeader(const QString& reason) {
    failImport(QStringLiteral("The file header %1.").arg(reason));
}

} // namespace

QByteArray unmaskedJetHeader(QByteArrayView header, FileKind kind) {
    static const std::array<quint8, kJet4MaskLength> mask = makeMask();
    QByteArray bytes = header.toByteArray();
    const qsizetype end = kMaskOffset + maskLength(kind);
    if (bytes.size() < end)
        failHeader(QStringLiteral("is cut short"));
    for (qsizetype i = kMaskOffset; i < end; ++i)
        bytes[i] = char(quint8(bytes[i]) ^ mask[i - kMaskOffset]);
    return bytes;
}

JetHeader JetHeader::read(QByteArrayView firstPage) {
    if (firstPage.size() <= kVersionOffset || !firstPage.sliced(4).startsWith("Standard Jet DB"))
        failHeader(QStringLiteral("names no Jet database"));
    JetHeader header;
    switch (firstPage[kVersionOffset]) {
    case 0:
        header.kind = FileKind::Jet3;
        break;
    case 1:
        header.kind = FileKind::Jet4;
        break;
    default:
        failHeader(QStringLiteral("names a later format than Jet 4"));
    }
    const QByteArray bytes = unmaskedJetHeader(firstPage, header.kind);
    header.codePage = qFromLittleEndian<quint16>(bytes.constData() + kCodePageOffset);
    header.encryptionKey = qFromLittleEndian<quint32>(bytes.constData() + kEncryptionKeyOffset);
    if (header.encryptionKey != 0)
        failImport(QStringLiteral("The database is encrypted; encrypted databases are not read."));
    return header;
}

} // namespace kpl
