#include "core/platform/CodePages.h"

#include <QStringDecoder>

namespace kpl::platform {

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

} // namespace kpl::platform
