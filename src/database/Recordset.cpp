#include "database/Recordset.h"

#include "database/DbError.h"
#include "database/FieldValue.h"
#include "internal/Connection.h"
#include "internal/RecordsetData.h"
#include "internal/SqlIdentifier.h"

#include <QStringList>
#include <algorithm>
#include <utility>

namespace kpl {

Recordset::Recordset(std::weak_ptr<Connection> connection, RecordsetData data)
    : m_connection(std::move(connection)),
      m_data(std::make_unique<RecordsetData>(std::move(data))) {}

Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

std::shared_ptr<Connection> Recordset::connection() const {
    std::shared_ptr<Connection> connection = m_connection.lock();
    if (!connection)
        throw DbError::numbered(db::ObjectInvalid);
    return connection;
}

bool Recordset::isEditable() const {
    requireOpen();
    return !m_data->table.isEmpty();
}

std::size_t Recordset::rowCount() const {
    return m_data->table.isEmpty() ? m_data->rows.size() : m_data->rowids.size();
}

qint64 Recordset::recordCount() const {
    requireOpen();
    return qint64(rowCount());
}

bool Recordset::eof() const {
    requireOpen();
    return m_position >= rowCount();
}

void Recordset::moveFirst() {
    if (recordCount() == 0)
        throw DbError::numbered(db::NoCurrentRecord);
    m_editMode = EditMode::None;
    m_position = 0;
}

void Recordset::moveNext() {
    if (eof())
        throw DbError::numbered(db::NoCurrentRecord);
    m_editMode = EditMode::None;
    ++m_position;
}

void Recordset::moveLast() {
    if (recordCount() == 0)
        throw DbError::numbered(db::NoCurrentRecord);
    m_editMode = EditMode::None;
    m_position = rowCount() - 1;
}

void Recordset::moveTo(qint64 position) {
    if (position < 0 || position >= recordCount())
        throw DbError::numbered(db::NoCurrentRecord);
    m_editMode = EditMode::None;
    m_position = std::size_t(position);
}

void Recordset::requireOpen() const {
    if (m_connection.expired())
        throw DbError::numbered(db::ObjectInvalid);
}

int Recordset::fieldCount() const {
    requireOpen();
    return int(m_data->fields.size());
}

const Field& Recordset::field(int index) const {
    if (index < 0 || index >= fieldCount())
        throw DbError::numbered(db::ItemNotFound);
    return m_data->fields.at(index);
}

int Recordset::indexOf(const QString& name, int from) const {
    requireOpen();
    return indexOfField(m_data->fields, name, from);
}

int Recordset::fieldIndex(const QString& name) const {
    const int index = indexOf(name);
    if (index < 0)
        throw DbError::numbered(db::ItemNotFound);
    return index;
}

void Recordset::requireCurrentRecord() const {
    if (eof())
        throw DbError::numbered(db::NoCurrentRecord);
}

const QVariantList& Recordset::currentRow() const {
    requireCurrentRecord();
    if (m_data->table.isEmpty())
        return m_data->rows.at(m_position);
    if (m_position < m_blockStart || m_position >= m_blockStart + m_block.size())
        readBlock();
    return m_block[m_position - m_blockStart];
}

void Recordset::readBlock() const {
    // A walk through the rows reads ahead a block of them with one statement;
    // a jump reads the one row it lands on.
    const bool walking = m_position == m_blockStart + m_block.size();
    m_block.clear();
    m_blockStart = m_position;
    m_block = readRows(m_position, walking ? kBlockRows : 1);
    if (m_block.empty())
        throw DbError::numbered(db::RecordDeleted);
}

std::vector<QVariantList> Recordset::readRows(std::size_t position, qint64 count) const {
    if (m_blockSql.isEmpty())
        m_blockSql = blockStatement(*m_data);
    const std::shared_ptr<Connection> database = connection();
    StatementUse query(database->cached(m_blockSql));
    query->bind(1, m_data->rowids.at(position));
    query->bind(2, count);
    std::vector<QVariantList> rows;
    rows.reserve(std::size_t(std::min<qint64>(count, qint64(rowCount() - position))));
    while (position < rowCount() && qint64(rows.size()) < count && query->step()) {
        const qint64 rowid = query->columnInteger(0);
        if (rowid < m_data->rowids[position])
            continue; // added by another recordset: not one of these rows
        if (rowid > m_data->rowids[position])
            break; // the row at `position` is gone
        rows.push_back(readRow(*query, m_data->fields, 1, rows.empty() ? nullptr : &rows.back()));
        ++position;
    }
    return rows;
}

std::vector<QVariantList> Recordset::getRows(qint64 count) {
    if (eof() || count <= 0)
        return {};
    m_editMode = EditMode::None;
    std::vector<QVariantList> rows;
    if (m_data->table.isEmpty()) {
        const std::size_t end = std::min(rowCount(), m_position + std::size_t(count));
        rows.assign(m_data->rows.begin() + qsizetype(m_position),
                    m_data->rows.begin() + qsizetype(end));
    } else {
        rows = readRows(m_position, count);
        if (rows.empty())
            throw DbError::numbered(db::RecordDeleted);
    }
    m_position += rows.size();
    return rows;
}

QVariant Recordset::value(int index) const {
    field(index);
    if (m_editMode == EditMode::AddNew ||
        (m_editMode == EditMode::Edit && m_changed.at(std::size_t(index))))
        return m_buffer.at(index);
    return currentRow().at(index);
}

void Recordset::startEditing(EditMode mode, QVariantList values) {
    m_buffer = std::move(values);
    m_changed.assign(m_buffer.size(), false);
    m_editMode = mode;
}

void Recordset::addNew() {
    if (!isEditable())
        throw DbError::numbered(db::ReadOnly);
    startEditing(EditMode::AddNew, QVariantList(fieldCount()));
}

// The record's other values stay where they are: only the fields set while
// editing are held, and written, by the recordset.
void Recordset::edit() {
    if (!isEditable())
        throw DbError::numbered(db::ReadOnly);
    requireCurrentRecord();
    startEditing(EditMode::Edit, QVariantList(fieldCount()));
}

void Recordset::setValue(int index, const QVariant& value) {
    if (m_editMode == EditMode::None)
        throw DbError::numbered(db::UpdateWithoutEdit);
    m_buffer[index] = toFieldValue(value, field(index));
    m_changed[std::size_t(index)] = true;
}

void Recordset::update() {
    requireOpen();
    if (m_editMode == EditMode::None)
        throw DbError::numbered(db::UpdateWithoutEdit);
    std::vector<int> changed;
    for (int i = 0; i < fieldCount(); ++i) {
        if (m_changed.at(std::size_t(i)))
            changed.push_back(i);
    }
    if (m_editMode == EditMode::AddNew)
        insertRecord(changed);
    else if (!changed.empty())
        updateRecord(changed);
    m_editMode = EditMode::None;
}

std::shared_ptr<Statement> Recordset::writeStatement(bool insert, const std::vector<int>& changed) {
    QString& sql = m_writeSql[{insert, changed}];
    if (sql.isEmpty())
        sql = insert ? insertStatement(changed) : updateStatement(changed);
    return connection()->cached(sql);
}

void Recordset::insertRecord(const std::vector<int>& changed) {
    const std::shared_ptr<Connection> database = connection();
    {
        StatementUse insert(writeStatement(true, changed));
        for (std::size_t i = 0; i < changed.size(); ++i)
            insert->bind(int(i) + 1, toStoredValue(m_buffer.at(changed[i]), field(changed[i])));
        database->write(*insert);
    }
    const bool wasAtEnd = m_position >= rowCount();
    m_data->rowids.push_back(database->lastInsertRowid());
    if (wasAtEnd)
        m_position = rowCount();
}

QString Recordset::insertStatement(const std::vector<int>& changed) const {
    QStringList columns;
    for (int i : changed)
        columns.append(m_data->tableColumns.at(i));
    return kpl::insertStatement(m_data->table, columns);
}

QString Recordset::updateStatement(const std::vector<int>& changed) const {
    QStringList assignments;
    for (int i : changed)
        assignments.append(quoteIdentifier(m_data->tableColumns.at(i)) + QStringLiteral(" = ?"));
    return QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_ = ?")
        .arg(quoteIdentifier(m_data->table), assignments.join(", "));
}

void Recordset::updateRecord(const std::vector<int>& changed) {
    const std::shared_ptr<Connection> database = connection();
    StatementUse write(writeStatement(false, changed));
    for (std::size_t i = 0; i < changed.size(); ++i)
        write->bind(int(i) + 1, toStoredValue(m_buffer.at(changed[i]), field(changed[i])));
    write->bind(int(changed.size()) + 1, m_data->rowids.at(m_position));
    database->write(*write);
    if (database->changes() == 0) {
        m_block.clear();
        throw DbError::numbered(db::RecordDeleted);
    }
    // The row read ahead now holds what was written.
    if (m_position >= m_blockStart && m_position < m_blockStart + m_block.size()) {
        QVariantList& row = m_block[m_position - m_blockStart];
        for (const int i : changed)
            row[i] = m_buffer.at(i);
    }
}

} // namespace kpl
