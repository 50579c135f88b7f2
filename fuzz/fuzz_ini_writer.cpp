// Writes one entry into arbitrary INI content. The input gives the section,
// key and value, the rest is the file. Properties:
//  - a value holding CR or LF is refused and nothing changes;
//  - the bytes that differ lie within one line of the old content, so every
//    other entry, comment and line end stays as it was;
//  - other entries read as before, and the written one reads back as it does
//    from a file holding nothing else;
//  - writing through the file gives the same bytes and the same read.
#include "core/IniDocument.h"
#include "core/Profile.h"
#include "core/platform/Windows1252.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using kpl::IniDocument;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_ini_writer: %s\n", what);
        std::abort();
    }
}

QString ansi(const std::string& bytes) {
    return kpl::platform::fromAnsi(QByteArray::fromStdString(bytes));
}

bool isPadding(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x1A);
}

// Whether the text survives Windows-1252 and the trimming of a read.
bool isStoredAsIs(const QString& text) {
    if (text.isEmpty())
        return true;
    return !isPadding(text.front()) && !isPadding(text.back()) &&
           kpl::platform::fromAnsi(kpl::platform::toAnsi(text)) == text;
}

// Whether a value comes back from a read exactly as written.
bool readsBackAsWritten(const QString& value) {
    return isStoredAsIs(value) && !value.startsWith(QLatin1Char('"')) &&
           !value.startsWith(QLatin1Char('\''));
}

// Names that can stand in a header or before "=" and be found again.
bool isUsableName(const QString& name, const QString& forbidden) {
    for (const QChar c : forbidden + QStringLiteral("\r\n")) {
        if (name.contains(c))
            return false;
    }
    return isStoredAsIs(name);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void checkThroughFile(const QByteArray& content, const QString& section, const QString& key,
                      const QString& value, bool accepted, const QByteArray& expected) {
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Program.ini"));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(content) == content.size(),
            "cannot write the scratch file");
    file.close();
    require(kpl::Profile().writeString(path, section, key, value) == accepted,
            "file write accepted or refused wrongly");
    require(readAll(path) == expected, "file bytes differ from the document");
    const QString documentRead = IniDocument(expected).value(section, key).value_or(QString());
    require(kpl::Profile().readString(path, section, key) ==
                documentRead.left(kpl::Profile::kMaxRead),
            "file read differs from the document");
}

// The bytes between the common start and the common end of the old and the
// new content lie within one line of the old.
void checkOneLineChanged(const QByteArray& content, const QByteArray& after) {
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(content.size(), after.size());
    while (prefix < shorter && content[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           content[content.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QByteArray replaced = content.mid(prefix, content.size() - prefix - suffix);
    require(!replaced.contains('\r') && !replaced.contains('\n'), "more than one line changed");
}

void checkReads(const IniDocument& before, const IniDocument& after, const QString& section,
                const QString& key, const QString& value) {
    const QString sections[] = {section, QStringLiteral("Project"), QString()};
    const QString keys[] = {key, QStringLiteral("Key"), QString()};
    for (const QString& otherSection : sections) {
        for (const QString& otherKey : keys) {
            if (otherSection.compare(section, Qt::CaseInsensitive) == 0 &&
                otherKey.compare(key, Qt::CaseInsensitive) == 0)
                continue;
            require(after.value(otherSection, otherKey) == before.value(otherSection, otherKey),
                    "another entry changed");
        }
    }
    const QByteArray mark("\xEF\xBB\xBF");
    IniDocument alone(before.toBytes().startsWith(mark) ? mark : QByteArray());
    alone.setValue(section, key, value);
    const std::optional<QString> written = after.value(section, key);
    require(written.has_value() && written == alone.value(section, key),
            "written entry reads differently");
    require(!readsBackAsWritten(value) || *written == value, "written value changed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const QString section = ansi(input.ConsumeRandomLengthString(24));
    const QString key = ansi(input.ConsumeRandomLengthString(24));
    const QString value = ansi(input.ConsumeRandomLengthString(300));
    const QByteArray content = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    if (!isUsableName(section, QStringLiteral("]")) || !isUsableName(key, QStringLiteral("=")) ||
        key.startsWith(QLatin1Char('[')) || key.startsWith(QLatin1Char(';')))
        return 0;

    const IniDocument before(content);
    IniDocument document(content);
    const bool lineBreak = value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
    require(document.setValue(section, key, value) == !lineBreak, "refusal wrong");
    const QByteArray after = document.toBytes();
    if (lineBreak) {
        require(after == content, "refused write changed the content");
    } else {
        checkOneLineChanged(content, after);
        checkReads(before, IniDocument(after), section, key, value);
    }
    checkThroughFile(content, section, key, value, !lineBreak, after);
    return 0;
}
