#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

namespace kpl::platform {

// The Windows-1252 code page of INI files and logs; characters outside it
// become "?".
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);
// The character's code in Windows-1252, or -1 when it has none.
int ansiCode(QChar c);

} // namespace kpl::platform
