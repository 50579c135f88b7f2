#pragma once

#include "jetimport/JetColumn.h"
#include "jetimport/JetFormat.h"

#include <QByteArrayView>
#include <QList>
#include <optional>

namespace kpl {

// One stored row, split into its values by the places the table definition
// gives its columns. A row starts with the number of columns it was written
// with, then the fixed-length values, then the variable-length ones; it ends
// with their offset table, that table's length and the null mask, one bit
// per column (set: the column has a value; for Yes/No: the value). Columns
// added after the row was written are not in it: they have no value.
//
// Jet 3 stores the offsets in single bytes; for rows longer than 256 bytes a
// jump table before the offset count says at which values a further 256 is
// to be added.
//
// The row's bytes have to live as long as the JetRow. Damage (offsets that
// point outside the row or run backwards) is a failure.
class JetRow {
public:
    JetRow(QByteArrayView bytes, const JetFormat& format);

    // Whether the row holds a value for `column` (for Yes/No: whether it is true).
    bool hasValue(const JetColumn& column) const;
    // The stored bytes of the value of `column`, which has one.
    QByteArrayView value(const JetColumn& column) const;

private:
    QList<int> readVariableOffsets() const;
    QList<int> readJet3Offsets(int count) const;
    int byteAt(qsizetype at) const;
    [[noreturn]] void failDamaged(const QString& what) const;

    QByteArrayView m_bytes;
    const JetFormat* m_format;
    int m_columnCount = 0;
    qsizetype m_nullMaskStart = 0;
    // Read when a variable-length value is first asked for: one offset per
    // value and one where the last one ends; and where that table starts.
    mutable std::optional<QList<int>> m_offsets;
    mutable qsizetype m_offsetTableStart = 0;
};

} // namespace kpl
