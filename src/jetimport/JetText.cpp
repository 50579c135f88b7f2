#include "jetimport/JetText.h"

#include "core/platform/CodePages.h"
#include "core/platform/Windows1252.h"
#include "jetimport/ImportFailure.h"

#include <QtEndian>

#include <optional>

namespace kpl {

namespace {

constexpr int kWindowsWestern = 1252;

[[noreturn]] void failDamagedText(const QString& reason) {
    failImport(QStringLiteral("A text value is damaged: %1.").arg(reason));
}

QString utf16LittleEndian(QByteArrayView bytes) {
    if (bytes.size() % 2 != 0)
        failDamagedText(QStringLiteral("an odd number of bytes in Unicode text"));
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.data() + 2 * i));
    return text;
}

// Compressed Jet 4 text: the bytes after the FF FE marker.
QString uncompress(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    bool singleBytes = true;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (byte == 0) {
            singleBytes = !singleBytes;
            ++pos;
        } else if (singleBytes) {
            text.append(QChar(byte));
            ++pos;
        } else {
            if (pos + 1 >= bytes.size())
                failDamagedText(QStringLiteral("compressed Unicode text ends inside a character"));
            text.append(QChar(qFromLittleEndian<quint16>(bytes.data() + pos)));
            pos += 2;
        }
    }
    return text;
}

QString fromCodePage(QByteArrayView bytes, int codePage) {
    if (!platform::knowsCodePage(codePage))
        failImport(QStringLiteral("The database's code page %1 is not known on this system.")
                       .arg(codePage));
    const std::optional<QString> text = platform::fromCodePage(bytes, codePage);
    if (!text)
        failDamagedText(QStringLiteral("bytes that code page %1 does not know").arg(codePage));
    return *text;
}

} // namespace

JetTextDecoder JetTextDecoder::jet4() {
    return JetTextDecoder(true, 0);
}

JetTextDecoder JetTextDecoder::jet3(int codePage) {
    return JetTextDecoder(false, codePage > 0 ? codePage : kWindowsWestern);
}

QString JetTextDecoder::decode(QByteArrayView bytes) const {
    QString text;
    if (!m_jet4 && m_codePage == kWindowsWestern)
        text = platform::fromAnsi(bytes.toByteArray());
    else if (!m_jet4)
        text = fromCodePage(bytes, m_codePage);
    else if (bytes.startsWith(QByteArrayView("\xff\xfe", 2)))
        text = uncompress(bytes.sliced(2));
    else
        text = utf16LittleEndian(bytes);
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace kpl
