// Arbitrary bytes as a Jet file (Jet 4 where the version byte says so, else
// Jet 3): reading the tables its catalog lists, their definitions, rows and
// every value either succeeds or fails with a Failure; it never crashes or
// reads outside the file. The sample Jet files make a good seed corpus.
#include "core/Failure.h"
#include "jetimport/JetCatalog.h"
#include "jetimport/JetTable.h"

#include <cstdint>

namespace {
constexpr std::size_t kVersionOffset = 0x14;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size <= kVersionOffset)
        return 0;
    const kpl::JetFormat& format =
        kpl::JetFormat::of(data[kVersionOffset] == 1 ? kpl::FileKind::Jet4 : kpl::FileKind::Jet3);
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    const kpl::JetPages pages(format, [&](quint32 number, QByteArray& page) {
        const qint64 start = qint64(number) * format.pageSize;
        if (start + format.pageSize > file.size())
            return QStringLiteral("the file ends before it");
        page = file.mid(start, format.pageSize);
        return QString();
    });
    const kpl::JetTextDecoder decoder =
        format.jet4 ? kpl::JetTextDecoder::jet4() : kpl::JetTextDecoder::jet3(1252);
    try {
        for (const kpl::JetCatalogTable& entry : kpl::readCatalog(pages, decoder).userTables) {
            kpl::JetTable table(pages, entry.name, entry.definitionPage, decoder);
            while (table.fetchRow())
                table.rowValues();
        }
    } catch (const kpl::Failure&) {
    }
    return 0;
}
