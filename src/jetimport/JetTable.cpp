// <glib.h> has to come before <mdbtools.h> in C++: the library header
// includes it inside its extern "C" block.
#include <glib.h>
#include <mdbtools.h>

#include "jetimport/JetTable.h"

#include "jetimport/ImportFailure.h"
#include "jetimport/JetValues.h"

#include <QStringList>
#include <QtEndian>
#include <vector>

namespace kpl {

static_assert(jet::YesNo == MDB_BOOL && jet::Text == MDB_TEXT && jet::Memo == MDB_MEMO &&
              jet::Ole == MDB_OLE && jet::ReplicationId == MDB_REPID &&
              jet::Decimal == MDB_NUMERIC);

namespace {
// The stored length of a long value; the two high bits are flags.
constexpr quint32 kLongValueLengthMask = 0x3fffffff;

bool isKnownType(int type) {
    return (type >= jet::YesNo && type <= jet::Memo) || type == jet::ReplicationId ||
           type == jet::Decimal || type == jet::Complex;
}

// libmdb leaves its page buffer as it was when a page cannot be read, so a
// file cut at a page boundary can give a definition made of a stale page:
// nameless, doubled or untyped columns.
bool isPlausibleDefinition(const QList<JetColumn>& columns) {
    QStringList names;
    for (const JetColumn& column : columns) {
        if (column.name.isEmpty() || !isKnownType(column.type) ||
            names.contains(column.name, Qt::CaseInsensitive))
            return false;
        names.append(column.name);
    }
    return !columns.isEmpty();
}

MdbColumn* columnAt(MdbTableDef* table, int index) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, guint(index)));
}
} // namespace

struct JetTable::State {
    State(MdbTableDef* def, const JetTextDecoder& textDecoder) : table(def), decoder(textDecoder) {}
    ~State() { mdb_free_tabledef(table); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    MdbHandle* mdb() const { return table->entry->mdb; }
    [[noreturn]] void failRow(const QString& reason) const {
        failImport(QStringLiteral("Table %1: row %2 %3.").arg(name).arg(rowsFetched).arg(reason));
    }

    MdbTableDef* table;
    JetTextDecoder decoder;
    QString name;
    QList<JetColumn> columns;
    // Where libmdb puts the pieces of a Memo or OLE value; bound to a column
    // only while its value is read, so that libmdb does not turn Memo
    // values into text of its own while it fetches rows.
    QByteArray longValueBuffer{MDB_BIND_SIZE, '\0'};
    bool finished = false;
    qint64 rowsFetched = 0;
    // The current row: the data page it lies on and where its values are.
    QByteArray page;
    std::vector<MdbField> fields;
};

JetTable::JetTable(MdbTableDef* table, const JetTextDecoder& decoder)
    : m_state(std::make_unique<State>(table, decoder)) {
    State& s = *m_state;
    s.name = QString::fromUtf8(table->name);
    if (!mdb_read_columns(table))
        failImport(QStringLiteral("The columns of table %1 cannot be read.").arg(s.name));
    for (int i = 0; i < int(table->num_cols); ++i) {
        const MdbColumn* column = columnAt(table, i);
        s.columns.append(
            JetColumn{QString::fromUtf8(column->name), column->col_type, column->col_size});
    }
    if (!isPlausibleDefinition(s.columns))
        failImport(QStringLiteral("The definition of table %1 is damaged.").arg(s.name));
    mdb_rewind_table(table);
}

JetTable::JetTable(JetTable&&) noexcept = default;
JetTable& JetTable::operator=(JetTable&&) noexcept = default;
JetTable::~JetTable() = default;

const QString& JetTable::name() const {
    return m_state->name;
}
const QList<JetColumn>& JetTable::columns() const {
    return m_state->columns;
}
qint64 JetTable::declaredRowCount() const {
    return m_state->table->num_rows;
}

bool JetTable::fetchRow() {
    State& s = *m_state;
    if (s.finished)
        return false;
    if (!mdb_fetch_row(s.table)) {
        s.finished = true;
        return false;
    }
    // Rows beyond the declared count come from a damaged file (and may not
    // end): stop at the first.
    if (++s.rowsFetched > declaredRowCount())
        failImport(QStringLiteral("Table %1 has more rows than the %2 it declares; the file is "
                                  "damaged.")
                       .arg(s.name)
                       .arg(declaredRowCount()));
    // libmdb hands out values as text only; the stored bytes of the row just
    // fetched are found again and split into their values.
    int start = 0;
    size_t length = 0;
    if (mdb_find_row(s.mdb(), int(s.table->cur_row) - 1, &start, &length) != 0)
        s.failRow(QStringLiteral("cannot be found on its page"));
    s.fields.assign(s.table->num_cols, MdbField{});
    if (mdb_crack_row(s.table, start, length, s.fields.data()) != int(s.table->num_cols))
        s.failRow(QStringLiteral("is damaged"));
    s.page = QByteArray(reinterpret_cast<const char*>(s.mdb()->pg_buf), s.mdb()->fmt->pg_size);
    return true;
}

QVariantList JetTable::rowValues() const {
    QVariantList values;
    for (int i = 0; i < m_state->columns.size(); ++i)
        values.append(columnValue(i));
    return values;
}

QVariant JetTable::columnValue(int index) const {
    const State& s = *m_state;
    const MdbField& field = s.fields.at(index);
    const int type = s.columns.at(index).type;
    // A Yes/No value is the column's bit in the row's null mask.
    if (type == jet::YesNo)
        return QVariant(!field.is_null);
    if (field.is_null)
        return QVariant();
    if (field.start < 0 || field.siz < 0 || field.start + field.siz > s.page.size())
        s.failRow(QStringLiteral("has a value outside its page (column %1)")
                      .arg(s.columns.at(index).name));
    const QByteArrayView bytes(s.page.constData() + field.start, field.siz);
    switch (type) {
    case jet::Text:
        return s.decoder.decode(bytes);
    case jet::Memo:
        return s.decoder.decode(longValue(index));
    case jet::Ole:
        return longValue(index);
    default:
        return fixedValue(type, bytes);
    }
}

QByteArray JetTable::longValue(int index) const {
    const State& s = *m_state;
    const MdbField& field = s.fields.at(index);
    if (field.siz < MDB_MEMO_OVERHEAD)
        s.failRow(
            QStringLiteral("has a damaged long value (column %1)").arg(s.columns.at(index).name));
    QByteArray reference = s.page.mid(field.start, MDB_MEMO_OVERHEAD);
    const quint32 declared =
        qFromLittleEndian<quint32>(reference.constData()) & kLongValueLengthMask;
    QByteArray& buffer = m_state->longValueBuffer;
    mdb_bind_column(s.table, index + 1, buffer.data(), nullptr);
    MdbColumn* column = columnAt(s.table, index);
    QByteArray value;
    size_t chunk = mdb_ole_read(s.mdb(), column, reference.data(), size_t(buffer.size()));
    while (chunk > 0 && quint32(value.size()) < declared) {
        value.append(buffer.constData(), qsizetype(chunk));
        chunk = mdb_ole_read_next(s.mdb(), column, reference.data());
    }
    mdb_bind_column(s.table, index + 1, nullptr, nullptr);
    if (quint32(value.size()) != declared)
        s.failRow(QStringLiteral("has a long value of %1 bytes where %2 are stored (column %3)")
                      .arg(value.size())
                      .arg(declared)
                      .arg(s.columns.at(index).name));
    return value;
}

} // namespace kpl
