#include "app/MessageText.h"

namespace kpl {

QString screenLines(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r')) {
            out += c;
            continue;
        }
        const QChar partner = c == QLatin1Char('\n') ? QLatin1Char('\r') : QLatin1Char('\n');
        if (i + 1 < text.size() && text[i + 1] == partner)
            ++i;
        out += QLatin1Char('\n');
    }
    return out;
}

} // namespace kpl
