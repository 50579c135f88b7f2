// Arbitrary bytes as a Jet file: reading its header, the tables its catalog
// lists, their definitions, rows and every value either succeeds or fails
// with a Failure; it never crashes or reads outside the file. The sample Jet
// files make a good seed corpus.
#include "core/Failure.h"
#include "jetimport/JetCatalog.h"
#include "jetimport/JetPageFile.h"
#include "jetimport/JetTable.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(reinterpret_cast<const char*>(data), qsizetype(size));
    buffer->open(QIODevice::ReadOnly);
    try {
        const kpl::JetPageFile file(std::move(buffer));
        const kpl::JetPages pages(file.format(), [&](quint32 number, QByteArray& page) {
            return file.read(number, page);
        });
        const kpl::JetTextDecoder decoder = file.format().jet4
                                                ? kpl::JetTextDecoder::jet4()
                                                : kpl::JetTextDecoder::jet3(file.header().codePage);
        for (const kpl::JetCatalogTable& entry : kpl::readCatalog(pages, decoder).userTables) {
            kpl::JetTable table(pages, entry.name, entry.definitionPage, decoder);
            while (table.fetchRow())
                table.rowValues();
        }
    } catch (const kpl::Failure&) {
    }
    return 0;
}
