#include "jetimport/JetText.h"

#include "core/platform/Windows1252.h"
#include "jetimport/ImportFailure.h"

#include <QtEndian>
#include <iconv.h>

#include <cerrno>
#include <memory>

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

using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, int (*)(iconv_t)>;

QString fromCodePage(QByteArrayView bytes, int codePage) {
    const QByteArray name = "CP" + QByteArray::number(codePage);
    IconvHandle converter(iconv_open("UTF-16LE", name.constData()), iconv_close);
    if (converter.get() == reinterpret_cast<iconv_t>(-1))
        failImport(QStringLiteral("The database's code page %1 is not known on this system.")
                       .arg(codePage));
    // Every code page Jet uses gives at most one UTF-16 unit per byte.
    QByteArray output(bytes.size() * 2, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char* out = output.data();
    size_t outLeft = size_t(output.size());
    if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == size_t(-1))
        failDamagedText(QStringLiteral("bytes that code page %1 does not know").arg(codePage));
    output.truncate(output.size() - qsizetype(outLeft));
    return utf16LittleEndian(output);
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
