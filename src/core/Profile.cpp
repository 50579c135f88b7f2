#include "core/Profile.h"

#include "core/IniDocument.h"
#include "core/platform/AtomicWrite.h"
#include "core/platform/CaseBlindPath.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace kpl {

namespace {

// A sign and decimal digits up to the first other character, as the profile
// integer read takes them.
Profile::IntRead parseLeadingInt(const QString& text) {
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
            return Profile::IntRead{0, true};
    }
    return Profile::IntRead{qint32(negative ? -magnitude : magnitude), false};
}

} // namespace

const IniDocument* Profile::document(const QString& path) {
    const std::optional<platform::FileStamp> stamp = m_calls->stamp(path);
    const auto cached = m_documents.constFind(path);
    if (stamp && cached != m_documents.cend() && cached->stamp == *stamp)
        return &cached->document;
    m_documents.remove(path);
    QFile input(path);
    if (!stamp || !input.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray content = input.readAll();
    if (input.error() != QFileDevice::NoError)
        return nullptr;
    return &m_documents.insert(path, Cached{*stamp, IniDocument(content)})->document;
}

QString Profile::readString(const QString& file, const QString& section, const QString& key) {
    const QString path = platform::findFile(file);
    const IniDocument* found = path.isEmpty() ? nullptr : document(path);
    if (!found)
        return {};
    return found->value(section, key).value_or(QString()).left(kMaxRead);
}

Profile::IntRead Profile::readInt(const QString& file, const QString& section, const QString& key,
                                  qint32 defaultValue) {
    const QString text = readString(file, section, key);
    if (text.isEmpty())
        return IntRead{defaultValue, false};
    return parseLeadingInt(text);
}

bool Profile::refuse(const QString& reason) {
    m_lastWriteFailure = platform::WriteFailure{reason, false};
    return false;
}

bool Profile::writeString(const QString& file, const QString& section, const QString& key,
                          const QString& value) {
    m_lastWriteFailure.reset();
    const QString path = platform::resolveForWrite(file);
    if (path.isEmpty())
        return refuse(QStringLiteral("the file was not found"));
    const QFileInfo target(path);
    IniDocument changed;
    if (target.exists()) {
        if (!target.isFile())
            return refuse(QStringLiteral("something other than a file has its name"));
        if (!target.isWritable())
            return refuse(QStringLiteral("the file is read-only"));
        const IniDocument* current = document(path);
        if (!current)
            return refuse(QStringLiteral("the file cannot be read"));
        changed = *current;
    }
    if (!changed.setValue(section, key, value))
        return refuse(QStringLiteral("the value holds a line break"));
    m_lastWriteFailure = platform::replaceFile(path, changed.toBytes(), *m_calls);
    if (m_lastWriteFailure && !m_lastWriteFailure->inPlace)
        return false;
    m_documents.remove(path);
    if (const std::optional<platform::FileStamp> stamp = m_calls->stamp(path))
        m_documents.insert(path, Cached{*stamp, std::move(changed)});
    return true;
}

} // namespace kpl
