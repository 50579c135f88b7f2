#include "core/platform/CodePages.h"

#include <windows.h>

namespace kpl::platform {

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

} // namespace kpl::platform
