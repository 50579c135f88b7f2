// <glib.h> has to come before <mdbtools.h> in C++: the library header
// includes it inside its extern "C" block.
#include <glib.h>
#include <mdbtools.h>

#include "jetimport/JetDatabase.h"

#include "jetimport/ImportFailure.h"
#include "jetimport/LibmdbEnvironment.h"

#include <QDir>
#include <QFile>

namespace kpl {

namespace {
// The system catalog: the table that lists every object of the file. Its
// definition is always on page 2.
const char* const kCatalogTable = "MSysObjects";
constexpr unsigned long kCatalogDefinitionPage = 2;
} // namespace

// The environment guard is made first and goes last: libmdb reads its
// variables while opening and reading.
struct JetDatabase::Handle {
    LibmdbEnvironmentGuard environment;
    MdbHandle* mdb = nullptr;
    // The catalog's entry, made here to read the catalog before libmdb lists
    // its objects.
    MdbCatalogEntry catalogEntry{};

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
    const QString shown = QDir::toNativeSeparators(path);
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb)
        failImport(QStringLiteral("%1 cannot be opened as a Jet database.").arg(shown));
    const guint32 version = m_handle->mdb->f->jet_version;
    if (version != (isJet4() ? MDB_VER_JET4 : MDB_VER_JET3))
        failImport(QStringLiteral("%1: the Jet version the reader found does not match the file "
                                  "header.")
                       .arg(shown));
    checkCatalog();
    if (!mdb_read_catalog(m_handle->mdb, MDB_TABLE))
        failImport(QStringLiteral("%1: the list of tables cannot be read; the file is damaged.")
                       .arg(shown));
}

JetDatabase::~JetDatabase() = default;

QStringList JetDatabase::userTableNames() const {
    QStringList names;
    MdbHandle* mdb = m_handle->mdb;
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names.append(QString::fromUtf8(entry->object_name));
    }
    return names;
}

JetTable JetDatabase::openTable(const QString& name) const {
    QByteArray utf8 = name.toUtf8();
    MdbTableDef* table = mdb_read_table_by_name(m_handle->mdb, utf8.data(), MDB_TABLE);
    if (!table)
        failImport(QStringLiteral("%1: table %2 cannot be read.")
                       .arg(QDir::toNativeSeparators(m_path), name));
    return JetTable(table, textDecoder());
}

JetTextDecoder JetDatabase::textDecoder() const {
    return isJet4() ? JetTextDecoder::jet4() : JetTextDecoder::jet3(m_handle->mdb->f->code_page);
}

// libmdb lists the tables from the catalog, and it parses the catalog's
// long values without checking them: in a file cut at a page boundary that
// can run for ever on stale page contents. So the catalog is read here
// first, every row and every value: all of its declared rows have to be
// there, and each long value whole.
void JetDatabase::checkCatalog() const {
    MdbCatalogEntry& entry = m_handle->catalogEntry;
    entry.mdb = m_handle->mdb;
    qstrncpy(entry.object_name, kCatalogTable, sizeof entry.object_name);
    entry.object_type = MDB_TABLE;
    entry.table_pg = kCatalogDefinitionPage;
    MdbTableDef* table = mdb_read_table(&entry);
    if (!table)
        failImport(QStringLiteral("%1: the list of tables cannot be read; the file is damaged.")
                       .arg(QDir::toNativeSeparators(m_path)));
    JetTable catalog(table, textDecoder());
    qint64 rows = 0;
    while (catalog.fetchRow()) {
        catalog.rowValues();
        ++rows;
    }
    if (rows != catalog.declaredRowCount())
        failImport(QStringLiteral("%1: the list of tables is incomplete (%2 of %3 entries); the "
                                  "file is damaged.")
                       .arg(QDir::toNativeSeparators(m_path))
                       .arg(rows)
                       .arg(catalog.declaredRowCount()));
}

} // namespace kpl
