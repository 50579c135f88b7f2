#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kpl::platform {

// Text in a Windows code page given by number (the code page a Jet 3 file was
// made with). Code page 1252 has its own unit (Windows1252.h).
bool knowsCodePage(int codePage);
// The text `bytes` stand for in `codePage`; none when the code page is not
// known or the bytes are no text of it.
std::optional<QString> fromCodePage(QByteArrayView bytes, int codePage);

} // namespace kpl::platform
