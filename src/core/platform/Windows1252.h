#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <optional>

namespace kpl::platform {

// The Windows-1252 code page of INI files and logs; characters outside it
// become "?".
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);
// The character's code in Windows-1252; none when it has none.
std::optional<uchar> ansiCode(QChar c);

} // namespace kpl::platform
