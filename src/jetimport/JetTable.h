#pragma once

#include "jetimport/JetColumn.h"
#include "jetimport/JetText.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <memory>

struct S_MdbTableDef;

namespace kpl {

// One table of an open Jet file, read row by row in stored order. Made by
// JetDatabase::openTable and used while that database is open.
//
// Values are decoded from the stored bytes: Null is an invalid QVariant
// (a Yes/No value is never Null), Text and Memo give QString (the empty
// text where a value is empty but not Null), OLE and Binary QByteArray,
// and the fixed-size types as JetValues.h describes. Memo and OLE values
// are read whole, however long: libmdb's bound text would be cut at its
// bind size. A long value shorter than its stored length is a failure.
class JetTable {
public:
    JetTable(JetTable&&) noexcept;
    JetTable& operator=(JetTable&&) noexcept;
    JetTable(const JetTable&) = delete;
    JetTable& operator=(const JetTable&) = delete;
    ~JetTable();

    const QString& name() const;
    const QList<JetColumn>& columns() const;
    // The number of rows the file declares for the table.
    qint64 declaredRowCount() const;

    // Moves to the next row; false after the last one (libmdb is not asked
    // again then, which it does not allow).
    bool fetchRow();
    // The values of the current row, one per column in order.
    QVariantList rowValues() const;

private:
    friend class JetDatabase;
    JetTable(S_MdbTableDef* table, const JetTextDecoder& decoder);

    struct State;
    QVariant columnValue(int index) const;
    QByteArray longValue(int index) const;

    std::unique_ptr<State> m_state;
};

} // namespace kpl
