#pragma once

#include "jetimport/FileKind.h"

namespace kpl {

// Where Jet 3 and Jet 4 keep things on their pages: the layouts of data
// pages, table definitions, their column entries and rows. Offsets are in
// bytes from the start of the page, definition, entry or row.
struct JetFormat {
    bool jet4;
    int pageSize;

    // Data pages: the number of rows, followed by one 2-byte entry per row.
    int rowCountOffset;

    // Table definitions.
    int declaredRowCountOffset;
    int variableColumnCountOffset;
    int columnCountOffset;
    int realIndexCountOffset;
    int usageMapOffset;   // a row pointer to the map of the table's pages
    int firstIndexOffset; // the real index entries, then the column entries
    int realIndexEntrySize;
    int columnEntrySize;
    int nameLengthSize; // each column name: its length in bytes, then the name

    // Column entries.
    int columnTypeOffset;
    int columnNumberOffset; // its bit in a row's null mask, deleted columns counted
    int variableIndexOffset;
    int precisionOffset; // Decimal only (Jet 4)
    int scaleOffset;
    int columnFlagsOffset;
    int fixedOffsetOffset;
    int columnLengthOffset;

    // Rows: their column count at the start, and the offsets of their
    // variable-length values near their end, are this wide.
    int rowCountFieldSize;

    static const JetFormat& of(FileKind kind);
};

// Column flag: the column's values have a fixed length.
constexpr int kFixedLengthColumn = 0x01;

} // namespace kpl
