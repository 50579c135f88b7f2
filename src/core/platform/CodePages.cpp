#include "core/platform/CodePages.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QStringDecoder>
#endif

namespace kpl::platform {

#ifdef Q_OS_WIN

bool knowsCodePage(int codePage) {
    return codePage > 0 && IsValidCodePage(UINT(codePage));
}

std::optional<QString> fromCodePage(QByteArrayView bytes, int codePage) {
    if (!knowsCodePage(codePage))
        return std::nullopt;
    if (bytes.isEmpty())
        return QStringLiteral("");
    const int size = MultiByteToWideChar(UINT(codePage), MB_ERR_INVALID_CHARS, bytes.data(),
                                         int(bytes.size()), nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(UINT(codePage), MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

#else

namespace {
// Qt converts through ICU here, which names Windows code pages "cp" + number.
QStringDecoder decoderFor(int codePage) {
    const QByteArray name = "cp" + QByteArray::number(codePage);
    return QStringDecoder(name.constData(), QStringDecoder::Flag::Stateless);
}
} // namespace

bool knowsCodePage(int codePage) {
    return codePage > 0 && decoderFor(codePage).isValid();
}

std::optional<QString> fromCodePage(QByteArrayView bytes, int codePage) {
    if (!knowsCodePage(codePage))
        return std::nullopt;
    QStringDecoder decoder = decoderFor(codePage);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text.isNull() ? QStringLiteral("") : text;
}

#endif

} // namespace kpl::platform
