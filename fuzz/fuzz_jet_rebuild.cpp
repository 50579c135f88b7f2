// Arbitrary bytes as a Jet file in which PRESET_DEFS is rebuilt: the rebuild
// either fails with a Failure, or leaves a file whose PRESET_DEFS reads back
// exactly and passes the page-accounting check. It never crashes, and writes
// only into its own copy of the bytes. The installation's Jet samples make a
// good seed corpus.
#include "core/Failure.h"
#include "jetimport/JetCatalog.h"
#include "jetimport/JetPageCheck.h"
#include "jetimport/JetPageFile.h"
#include "jetimport/JetTable.h"
#include "jetimport/JetTableRebuild.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

const QString kTable = QStringLiteral("PRESET_DEFS");

QList<kpl::JetColumn> columns() {
    return {{QStringLiteral("ID"), kpl::jet::Long},
            {QStringLiteral("var_name"), kpl::jet::Text, 100},
            {QStringLiteral("isBitArray"), kpl::jet::YesNo},
            {QStringLiteral("min"), kpl::jet::Double}};
}

QList<QVariantList> rows() {
    QList<QVariantList> rows;
    for (qint64 i = 0; i < 300; ++i)
        rows.append({i, QStringLiteral("DT_Reason%1").arg(i), i % 2 == 0, double(i) / 4});
    return rows;
}

std::unique_ptr<QBuffer> bufferOn(QByteArray* bytes, QIODevice::OpenMode mode) {
    auto buffer = std::make_unique<QBuffer>(bytes);
    buffer->open(mode);
    return buffer;
}

// Reads the rebuilt table back and checks the file's accounting of its pages.
void check(QByteArray& bytes, const QList<QVariantList>& expected) {
    const kpl::JetPageFile file(bufferOn(&bytes, QIODevice::ReadOnly));
    const kpl::JetPages pages(file.format(), [&](quint32 number, QByteArray& page) {
        return file.read(number, page);
    });
    for (const kpl::JetCatalogTable& entry :
         kpl::readCatalog(pages, kpl::JetTextDecoder::jet4()).userTables) {
        if (entry.name != kTable)
            continue;
        kpl::JetTable table(pages, entry.name, entry.definitionPage, kpl::JetTextDecoder::jet4());
        QList<QVariantList> read;
        while (table.fetchRow())
            read.append(table.rowValues());
        if (read != expected || !kpl::checkJetPageAccounting(pages, {entry.definitionPage}).isEmpty())
            std::abort();
        return;
    }
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QList<QVariantList> content = rows();
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        kpl::JetPageFile file(bufferOn(&bytes, QIODevice::ReadWrite));
        kpl::rebuildJetTable(file, kTable, columns(), content);
    } catch (const kpl::Failure&) {
        return 0;
    }
    check(bytes, content);
    return 0;
}
