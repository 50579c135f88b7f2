#include "core/IniDocument.h"

#include "core/platform/Windows1252.h"

namespace kpl {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");
const QByteArray kCrLf("\r\n");

// Blanks, tabs and Ctrl-Z, the characters the profile functions trim.
bool isPadding(char c) {
    return c == ' ' || c == '\t' || c == '\x1A';
}

QByteArray trimmed(const QByteArray& bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isPadding(bytes[begin]))
        ++begin;
    while (end > begin && isPadding(bytes[end - 1]))
        --end;
    return bytes.mid(begin, end - begin);
}

// The value without one pair of matching quotes around all of it.
QByteArray unquoted(const QByteArray& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

IniDocument::IniDocument(const QByteArray& content) {
    qsizetype pos = 0;
    if (content.startsWith(kUtf8Mark)) {
        m_utf8 = true;
        pos = kUtf8Mark.size();
    }
    const qsizetype size = content.size();
    while (pos < size) {
        qsizetype stop = pos;
        while (stop < size && content[stop] != '\r' && content[stop] != '\n')
            ++stop;
        qsizetype next = stop;
        if (next < size && content[next] == '\r')
            ++next;
        if (next < size && content[next] == '\n')
            ++next;
        m_lines.push_back(classify(content.mid(pos, stop - pos), content.mid(stop, next - stop)));
        pos = next;
    }
    reindex();
}

IniDocument::Line IniDocument::classify(QByteArray text, QByteArray end) {
    Line line;
    line.text = std::move(text);
    line.end = std::move(end);
    const QByteArray content = trimmed(line.text);
    if (content.startsWith('[')) {
        const qsizetype close = content.indexOf(']');
        line.kind = Kind::Header;
        line.name = trimmed(content.mid(1, close < 0 ? -1 : close - 1));
    } else if (!content.startsWith(';')) {
        const qsizetype equals = content.indexOf('=');
        if (equals >= 0) {
            line.kind = Kind::Entry;
            line.name = trimmed(content.left(equals));
            line.value = trimmed(content.mid(equals + 1));
        }
    }
    return line;
}

QString IniDocument::decode(const QByteArray& bytes) const {
    return m_utf8 ? QString::fromUtf8(bytes) : platform::fromAnsi(bytes);
}

QByteArray IniDocument::encode(const QString& text) const {
    return m_utf8 ? text.toUtf8() : platform::toAnsi(text);
}

// New lines take the file's first line end, CR LF in a file without one.
QByteArray IniDocument::newLineEnd() const {
    return m_lines.empty() || m_lines.front().end.isEmpty() ? kCrLf : m_lines.front().end;
}

// Names match as the profile functions match them, regardless of letter
// case. No name in the file holds a line break, so one separates the section
// from the key.
QString IniDocument::sectionKey(const QString& section) {
    return section.toCaseFolded();
}

QString IniDocument::entryKey(const QString& section, const QString& key) {
    return sectionKey(section) + QLatin1Char('\n') + key.toCaseFolded();
}

// Only the first section of a name counts, and the first entry of a key in it.
void IniDocument::reindex() {
    m_sections.clear();
    m_entries.clear();
    QString section;
    bool counts = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.kind == Kind::Header) {
            section = decode(line.name);
            counts = !m_sections.contains(sectionKey(section));
            if (counts)
                m_sections.insert(sectionKey(section), qsizetype(i));
        } else if (line.kind == Kind::Entry && counts) {
            const QString key = entryKey(section, decode(line.name));
            if (!m_entries.contains(key))
                m_entries.insert(key, qsizetype(i));
        }
    }
}

qsizetype IniDocument::findSection(const QString& section) const {
    return m_sections.value(sectionKey(section), -1);
}

qsizetype IniDocument::sectionEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < qsizetype(m_lines.size()) && m_lines[std::size_t(i)].kind != Kind::Header)
        ++i;
    return i;
}

qsizetype IniDocument::findEntry(const QString& section, const QString& key) const {
    return m_entries.value(entryKey(section, key), -1);
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const qsizetype entry = findEntry(section, key);
    if (entry < 0)
        return std::nullopt;
    return decode(unquoted(m_lines[std::size_t(entry)].value));
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
        return false;
    const qsizetype header = findSection(section);
    const qsizetype entry = findEntry(section, key);
    if (header < 0) {
        insertLine(qsizetype(m_lines.size()), '[' + encode(section) + ']');
        insertLine(qsizetype(m_lines.size()), encode(key) + '=' + encode(value));
    } else if (entry >= 0) {
        Line& line = m_lines[std::size_t(entry)];
        line = classify(line.name + '=' + encode(value), line.end);
    } else {
        qsizetype after = header;
        const qsizetype end = sectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i) {
            if (m_lines[std::size_t(i)].kind == Kind::Entry)
                after = i;
        }
        insertLine(after + 1, encode(key) + '=' + encode(value));
    }
    reindex();
    return true;
}

// Inserts a line before `index`; a last line without line end gets one first.
void IniDocument::insertLine(qsizetype index, const QByteArray& text) {
    const QByteArray end = newLineEnd();
    if (index == qsizetype(m_lines.size()) && !m_lines.empty() && m_lines.back().end.isEmpty())
        m_lines.back().end = end;
    m_lines.insert(m_lines.begin() + index, classify(text, end));
}

QByteArray IniDocument::toBytes() const {
    QByteArray out = m_utf8 ? kUtf8Mark : QByteArray();
    for (const Line& line : m_lines)
        out += line.text + line.end;
    return out;
}

} // namespace kpl
