// Arbitrary bytes as an INI file. Reading entries never crashes, a string
// read stays within its limit and agrees with the in-memory document, and the
// document gives back exactly the bytes it was made of.
#include "core/IniDocument.h"
#include "core/Profile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_ini_reader: %s\n", what);
        std::abort();
    }
}

QString scratchFile(const QByteArray& content) {
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("program.ini"));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(content) == content.size(),
            "cannot write the scratch file");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    const kpl::IniDocument document(content);
    require(document.toBytes() == content, "bytes changed without a write");

    const QString file = scratchFile(content);
    const QString sections[] = {QStringLiteral("Project"), QStringLiteral("\u00C4"), QString()};
    const QString keys[] = {QStringLiteral("key"), QStringLiteral("\u00E4"), QString()};
    for (const QString& section : sections) {
        for (const QString& key : keys) {
            const QString value = kpl::Profile().readString(file, section, key);
            require(value.size() <= kpl::Profile::kMaxRead, "string read too long");
            const QString documentRead = document.value(section, key).value_or(QString());
            require(value == documentRead.left(kpl::Profile::kMaxRead),
                    "file read differs from the document");
            kpl::Profile().readInt(file, section, key, -1);
        }
    }
    return 0;
}
