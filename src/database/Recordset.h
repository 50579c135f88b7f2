#pragma once

#include "database/Field.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <limits>
#include <map>
#include <memory>
#include <vector>

namespace kpl {

class Connection;
class Statement;
struct RecordsetData;

// The rows of a table or of a SELECT statement, walked one current record at
// a time, as the program reads and writes its preset tables. Opened by
// Database::openRecordset. Values are cells as FieldValue.h describes;
// field names are compared with letter case ignored.
//
// Its rows are the ones present when it was opened, plus those added
// through it. The record count is known at once. After opening, the first record is
// current (eof() when there is none). Moving, reading or editing without a
// current record is failure 3021, an unknown field name or position 3265.
// Writing: addNew() or edit(), setValue(...), update(); the pending write
// transaction of the database keeps the change (see Database). A record
// added through the recordset is appended to its rows; the current record
// stays the one that was current before addNew().
//
// Closing the database closes its recordsets: using one afterwards is
// failure 3420.
class Recordset {
public:
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    ~Recordset();

    // Whether addNew() and edit() are possible: a table, or a statement that
    // selects the columns of one table.
    bool isEditable() const;

    qint64 recordCount() const;
    bool eof() const;
    void moveFirst();
    void moveNext();
    void moveLast();
    // Makes the record at `position` (0 = first, in the recordset's order)
    // current; failure 3021 when there is none.
    void moveTo(qint64 position);

    int fieldCount() const;
    const Field& field(int index) const;
    QString fieldName(int index) const { return field(index).name; }
    // The position of the field named `name` (indexOfField): -1 when there
    // is none, failure 3265 for fieldIndex.
    int indexOf(const QString& name, int from = 0) const;
    int fieldIndex(const QString& name) const;

    // The value of a field of the current record; while a record is being
    // added or edited, the value it is going to be saved with.
    QVariant value(int index) const;
    QVariant value(const QString& name) const { return value(fieldIndex(name)); }

    // Up to `count` records from the current one on, their cells in field
    // order; the record after the last one read becomes current (eof() after
    // the last record). No record is read at eof().
    std::vector<QVariantList> getRows(qint64 count);

    void addNew();
    void edit();
    // Sets a field of the record being added or edited, converted to the
    // field's type (failure 3421 when it does not convert).
    void setValue(int index, const QVariant& value);
    void setValue(const QString& name, const QVariant& value) { setValue(fieldIndex(name), value); }
    // Saves the record being added or edited (failure 3020 when there is
    // none) and ends adding or editing.
    void update();

private:
    friend class Database;
    Recordset(std::weak_ptr<Connection> connection, RecordsetData data);

    enum class EditMode { None, Edit, AddNew };

    std::shared_ptr<Connection> connection() const;
    // Failure 3420 once the database is closed.
    void requireOpen() const;
    std::size_t rowCount() const;
    void requireCurrentRecord() const;
    const QVariantList& currentRow() const;
    void startEditing(EditMode mode, QVariantList values);
    void insertRecord(const std::vector<int>& changed);
    void updateRecord(const std::vector<int>& changed);
    QString insertStatement(const std::vector<int>& changed) const;
    QString updateStatement(const std::vector<int>& changed) const;

    std::weak_ptr<Connection> m_connection;
    std::unique_ptr<RecordsetData> m_data;
    std::size_t m_position = 0;

    void readBlock() const;
    // Up to `count` rows of an editable recordset from `position` on, read
    // with one statement; stops at a row that is gone.
    std::vector<QVariantList> readRows(std::size_t position, qint64 count) const;

    // The texts of the statements, built once per recordset: reading rows,
    // and writing (insert or update) the changed columns. The connection
    // keeps the prepared statements.
    std::shared_ptr<Statement> writeStatement(bool insert, const std::vector<int>& changed);
    mutable QString m_blockSql;
    std::map<std::pair<bool, std::vector<int>>, QString> m_writeSql;
    // Rows of an editable recordset read ahead, from position m_blockStart on.
    static constexpr qint64 kBlockRows = 256;
    mutable std::vector<QVariantList> m_block;
    mutable std::size_t m_blockStart = 0;

    EditMode m_editMode = EditMode::None;
    QVariantList m_buffer;
    std::vector<bool> m_changed;
};

} // namespace kpl
