#include "jetimport/JetDatabase.h"

#include "core/Failure.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetCatalog.h"

#include <QDir>

namespace kpl {

JetDatabase::JetDatabase(const QString& path)
    : m_path(path), m_kind(requireImportableJetFile(path)) {
    try {
        m_file = std::make_unique<JetPageFile>(JetPageFile::open(path));
    } catch (const Failure& failure) {
        fail(failure.description);
    }
    m_pages = std::make_unique<JetPages>(
        m_file->format(),
        [file = m_file.get()](quint32 number, QByteArray& page) { return file->read(number, page); });
    try {
        m_catalog = readCatalog(*m_pages, textDecoder());
    } catch (const Failure& failure) {
        fail(QStringLiteral("the list of tables cannot be read: %1").arg(failure.description));
    }
}

JetDatabase::~JetDatabase() = default;

QStringList JetDatabase::userTableNames() const {
    QStringList names;
    for (const JetCatalogTable& table : m_catalog.userTables)
        names.append(table.name);
    return names;
}

JetTable JetDatabase::openTable(const QString& name) const {
    for (const JetCatalogTable& table : m_catalog.userTables) {
        if (table.name == name)
            return JetTable(*m_pages, name, table.definitionPage, textDecoder());
    }
    fail(QStringLiteral("there is no table %1.").arg(name));
}

JetTextDecoder JetDatabase::textDecoder() const {
    return isJet4() ? JetTextDecoder::jet4() : JetTextDecoder::jet3(m_file->header().codePage);
}

void JetDatabase::fail(const QString& reason) const {
    failImport(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), reason));
}

} // namespace kpl
