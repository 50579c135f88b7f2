#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace kpl {

// The content of one INI file as its raw lines, read by the rules of the
// Windows profile functions. Setting an entry rewrites or inserts exactly one
// line (two for a new section), so every other byte of the file - comments,
// blank lines, spacing, order, line ends - comes back from toBytes() as it
// was read.
//
// The text is Windows-1252, or UTF-8 when it starts with a UTF-8 byte-order
// mark; the mark is kept. Lines end at CR, LF or CR LF. Each line is trimmed
// of blanks, tabs and Ctrl-Z. A line starting with "[" is a section header
// named by the text up to the first "]"; a line starting with ";" is a
// comment; any other line holding "=" is an entry split at its first "=".
// Names match regardless of letter case; the first section of a name and the
// first of duplicate keys count; entries before the first header belong to no
// section. Look-ups go through an index of the sections and entries, so
// reading an entry costs the same however large the file is.
class IniDocument {
public:
    explicit IniDocument(const QByteArray& content = {});

    // The entry's value, trimmed and without one pair of enclosing double or
    // single quotes; no value when the section or key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets the entry: an existing entry's line becomes "<key as in the
    // file>=<value>" with its own line end; a new key follows the section's
    // last entry; a new section goes to the end. False, and nothing changed,
    // when the value holds CR or LF.
    bool setValue(const QString& section, const QString& key, const QString& value);

    // The whole file as it is to be written.
    QByteArray toBytes() const;

private:
    enum class Kind { Other, Header, Entry };

    struct Line {
        QByteArray text; // the raw bytes without the line end
        QByteArray end;  // "\r\n", "\n", "\r" or nothing on the last line
        Kind kind = Kind::Other;
        QByteArray name;  // header name or key, trimmed, raw bytes
        QByteArray value; // entry value, trimmed, raw bytes
    };

    static Line classify(QByteArray text, QByteArray end);
    QString decode(const QByteArray& bytes) const;
    QByteArray encode(const QString& text) const;
    QByteArray newLineEnd() const;

    // The index's key of a section, and of an entry within it.
    static QString sectionKey(const QString& section);
    static QString entryKey(const QString& section, const QString& key);
    void reindex();

    // Index of the first header named `section`, or -1.
    qsizetype findSection(const QString& section) const;
    // Index of the header following `header`, or the line count.
    qsizetype sectionEnd(qsizetype header) const;
    // Index of the first entry `key` of the first section `section`, or -1.
    qsizetype findEntry(const QString& section, const QString& key) const;
    void insertLine(qsizetype index, const QByteArray& text);

    bool m_utf8 = false;
    std::vector<Line> m_lines;
    QHash<QString, qsizetype> m_sections; // section key -> header line
    QHash<QString, qsizetype> m_entries;  // entry key -> entry line
};

} // namespace kpl
