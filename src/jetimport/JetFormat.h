#pragma once

#include "jetimport/FileKind.h"

namespace kpl {

// Where Jet 3 and Jet 4 keep things on their pages: the layouts of data
// pages, table definitions, their column entries and rows. Offsets are in
// bytes from the start of the page, definition, entry or row.
struct JetFormat {
    bool jet4;
    int pageSize;

    // Data pages: their free space, the page of the owning table's
    // definition and the number of rows, followed by one entry per row.
    int freeSpaceOffset;
    int ownerOffset;
    int rowCountOffset;
    int rowEntrySize;
    int dataPageHeaderSize() const { return rowCountOffset + 2; }

    // Table definitions.
    int declaredRowCountOffset;
    int variableColumnCountOffset;
    int columnCountOffset;
    int indexCountOffset;
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

// The first byte of a page: its type.
constexpr char kJetDataPage = 0x01;
constexpr char kJetDefinitionPage = 0x02;
constexpr char kJetMapPage = 0x05;

} // namespace kpl
