// <glib.h> has to come before <mdbtools.h> in C++: the library header
// includes it inside its extern "C" block.
#include <glib.h>
#include <mdbtools.h>

#include "jetimport/JetDatabase.h"

#include "errors/Failure.h"
#include "jetimport/ImportFailure.h"
#include "jetimport/LibmdbEnvironment.h"
#include "jetimport/LibmdbMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kpl {

namespace {

// The system catalog: the table that lists every object of the file. Its
// definition is always on page 2.
const QString kCatalogTable = QStringLiteral("MSysObjects");
constexpr quint32 kCatalogDefinitionPage = 2;
// Catalog rows: the kind of object, tables being 1; flags marking system
// objects; the object's id, whose low three bytes are its definition page.
constexpr qint64 kTableObject = 1;
constexpr qint64 kSystemObjectFlags = 0x80000002;
constexpr qint64 kDefinitionPageMask = 0x00ffffff;

int columnIndex(const JetTable& table, const QString& name) {
    for (int i = 0; i < table.columns().size(); ++i) {
        if (table.columns().at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    failImport(QStringLiteral("The list of tables has no column %1.").arg(name));
}

} // namespace

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
        m_userTables = readUserTables();
    } catch (const Failure& failure) {
        fail(QStringLiteral("the list of tables cannot be read: %1").arg(failure.description));
    }
}

JetDatabase::~JetDatabase() = default;

QStringList JetDatabase::userTableNames() const {
    QStringList names;
    for (const UserTable& table : m_userTables)
        names.append(table.name);
    return names;
}

JetTable JetDatabase::openTable(const QString& name) const {
    for (const UserTable& table : m_userTables) {
        if (table.name == name)
            return JetTable(*m_pages, name, table.definitionPage, textDecoder());
    }
    fail(QStringLiteral("there is no table %1.").arg(name));
}

JetTextDecoder JetDatabase::textDecoder() const {
    return isJet4() ? JetTextDecoder::jet4() : JetTextDecoder::jet3(m_handle->mdb->f->code_page);
}

// Reads the catalog's rows that describe tables; of the others only the
// type is read. All rows the catalog declares have to be there.
QList<JetDatabase::UserTable> JetDatabase::readUserTables() const {
    JetTable catalog(*m_pages, kCatalogTable, kCatalogDefinitionPage, textDecoder());
    const int id = columnIndex(catalog, QStringLiteral("Id"));
    const int name = columnIndex(catalog, QStringLiteral("Name"));
    const int type = columnIndex(catalog, QStringLiteral("Type"));
    const int flags = columnIndex(catalog, QStringLiteral("Flags"));
    QList<UserTable> tables;
    qint64 rows = 0;
    for (; catalog.fetchRow(); ++rows) {
        if (catalog.value(type).toLongLong() != kTableObject ||
            (catalog.value(flags).toLongLong() & kSystemObjectFlags) != 0)
            continue;
        tables.append(UserTable{catalog.value(name).toString(),
                                quint32(catalog.value(id).toLongLong() & kDefinitionPageMask)});
    }
    if (rows != catalog.declaredRowCount())
        failImport(QStringLiteral("it is incomplete (%1 of %2 entries).")
                       .arg(rows)
                       .arg(catalog.declaredRowCount()));
    return tables;
}

void JetDatabase::fail(const QString& reason) const {
    failImport(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), reason));
}

} // namespace kpl
