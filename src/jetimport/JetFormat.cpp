#include "jetimport/JetFormat.h"

namespace kpl {

namespace {

constexpr JetFormat kJet3{
    .jet4 = false,
    .pageSize = 2048,
    .freeSpaceOffset = 0x02,
    .ownerOffset = 0x04,
    .rowCountOffset = 0x08,
    .rowEntrySize = 2,
    .declaredRowCountOffset = 0x0c,
    .variableColumnCountOffset = 0x17,
    .columnCountOffset = 0x19,
    .indexCountOffset = 0x1b,
    .realIndexCountOffset = 0x1f,
    .usageMapOffset = 0x23,
    .firstIndexOffset = 0x2b,
    .realIndexEntrySize = 8,
    .columnEntrySize = 18,
    .nameLengthSize = 1,
    .columnTypeOffset = 0,
    .columnNumberOffset = 1,
    .variableIndexOffset = 3,
    .precisionOffset = -1,
    .scaleOffset = -1,
    .columnFlagsOffset = 13,
    .fixedOffsetOffset = 14,
    .columnLengthOffset = 16,
    .rowCountFieldSize = 1,
};

constexpr JetFormat kJet4{
    .jet4 = true,
    .pageSize = 4096,
    .freeSpaceOffset = 0x02,
    .ownerOffset = 0x04,
    .rowCountOffset = 0x0c,
    .rowEntrySize = 2,
    .declaredRowCountOffset = 0x10,
    .variableColumnCountOffset = 0x2b,
    .columnCountOffset = 0x2d,
    .indexCountOffset = 0x2f,
    .realIndexCountOffset = 0x33,
    .usageMapOffset = 0x37,
    .firstIndexOffset = 0x3f,
    .realIndexEntrySize = 12,
    .columnEntrySize = 25,
    .nameLengthSize = 2,
    .columnTypeOffset = 0,
    .columnNumberOffset = 5,
    .variableIndexOffset = 7,
    .precisionOffset = 11,
    .scaleOffset = 12,
    .columnFlagsOffset = 15,
    .fixedOffsetOffset = 21,
    .columnLengthOffset = 23,
    .rowCountFieldSize = 2,
};

} // namespace

const JetFormat& JetFormat::of(FileKind kind) {
    return kind == FileKind::Jet3 ? kJet3 : kJet4;
}

} // namespace kpl
