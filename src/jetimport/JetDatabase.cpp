// <glib.h> has to come before <mdbtools.h> in C++: the library header
// includes it inside its extern "C" block.
#include <glib.h>
#include <mdbtools.h>

#include "jetimport/JetDatabase.h"

#include "core/Failure.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/JetCatalog.h"
#include "jetimport/LibmdbEnvironment.h"
#include "jetimport/LibmdbMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kpl {

// The environment guard is made first and goes last: libmdb reads its
// variables while opening and reading.
struct JetDatabase::Handle {
    LibmdbEnvironmentGuard environment;
    LibmdbMessages messages;
    MdbHandle* mdb = nullptr;

    Handle() = default;
    ~Handle() {
        if (mdb)
            mdb_close(mdb);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

JetDatabase::JetDatabase(const QString& path)
    : m_path(path), m_kind(requireImportableJetFile(path)), m_handle(std::make_unique<Handle>()) {
    LibmdbMessages& messages = m_handle->messages;
    const QString openingMessages = messages.during(
        [&] { m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS); });
    MdbHandle* mdb = m_handle->mdb;
    if (!mdb || !openingMessages.isEmpty())
        fail(QStringLiteral("cannot be opened as a Jet database (%1).")
                 .arg(openingMessages.isEmpty() ? QStringLiteral("the reader library refuses it")
                                                : openingMessages));
    const JetFormat& format = JetFormat::of(m_kind);
    if (mdb->f->jet_version != (isJet4() ? MDB_VER_JET4 : MDB_VER_JET3) ||
        mdb->fmt->pg_size != format.pageSize)
        fail(QStringLiteral("the Jet version the reader found does not match the file header."));
    // libmdb fills a page the file ends inside of, or right before, with
    // zeros and reports it read: pages past the end are not asked for.
    const qint64 pageCount = QFileInfo(path).size() / format.pageSize;
    // Anything the library says while it reads a page fails the page.
    m_pages = std::make_unique<JetPages>(
        format, [=, &format, &messages](quint32 number, QByteArray& page) {
            if (number >= pageCount)
                return QStringLiteral("the file ends before it");
            ssize_t read = 0;
            const QString said = messages.during([&] { read = mdb_read_pg(mdb, number); });
            if (!said.isEmpty())
                return QStringLiteral("the reader library reports: %1").arg(said);
            if (read != format.pageSize)
                return QStringLiteral("the reader library cannot read it");
            page = QByteArray(reinterpret_cast<const char*>(mdb->pg_buf), format.pageSize);
            return QString();
        });
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
    return isJet4() ? JetTextDecoder::jet4() : JetTextDecoder::jet3(m_handle->mdb->f->code_page);
}

void JetDatabase::fail(const QString& reason) const {
    failImport(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), reason));
}

} // namespace kpl
