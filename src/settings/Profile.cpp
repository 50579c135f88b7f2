#include "settings/Profile.h"

#include "settings/IniDocument.h"
#include "settings/Platform.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <limits>

namespace kpl::profile {

namespace {

// The file as found regardless of letter case; no document when it is
// missing, a folder or cannot be read.
std::optional<IniDocument> loadDocument(const QString& file) {
    const QString path = platform::findFile(file);
    if (path.isEmpty())
        return std::nullopt;
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly))
        return std::nullopt;
    return IniDocument(input.readAll());
}

// A sign and decimal digits up to the first other character, as the profile
// integer read takes them.
IntRead parseLeadingInt(const QString& text) {
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qsizetype pos = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative || text.startsWith(QLatin1Char('+')))
        ++pos;
    qint64 magnitude = 0;
    for (; pos < text.size() && text[pos] >= QLatin1Char('0') && text[pos] <= QLatin1Char('9');
         ++pos) {
        magnitude = magnitude * 10 + (text[pos].unicode() - u'0');
        if (magnitude > kLimit || (!negative && magnitude == kLimit))
            return IntRead{0, true};
    }
    return IntRead{qint32(negative ? -magnitude : magnitude), false};
}

bool writeFile(const QString& path, const QByteArray& content) {
    QSaveFile output(path);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    if (output.write(content) != content.size()) {
        output.cancelWriting();
        return false;
    }
    return output.commit();
}

} // namespace

QString readString(const QString& file, const QString& section, const QString& key) {
    const std::optional<IniDocument> document = loadDocument(file);
    if (!document)
        return {};
    return document->value(section, key).value_or(QString()).left(kMaxRead);
}

IntRead readInt(const QString& file, const QString& section, const QString& key,
                qint32 defaultValue) {
    const QString text = readString(file, section, key);
    if (text.isEmpty())
        return IntRead{defaultValue, false};
    return parseLeadingInt(text);
}

bool writeString(const QString& file, const QString& section, const QString& key,
                 const QString& value) {
    const QString path = platform::resolveForWrite(file);
    if (path.isEmpty())
        return false;
    const QFileInfo target(path);
    QByteArray content;
    if (target.exists()) {
        if (!target.isFile() || !target.isWritable())
            return false;
        QFile input(path);
        if (!input.open(QIODevice::ReadOnly))
            return false;
        content = input.readAll();
        if (input.error() != QFileDevice::NoError)
            return false;
    }
    IniDocument document(content);
    if (!document.setValue(section, key, value))
        return false;
    return writeFile(path, document.toBytes());
}

} // namespace kpl::profile
