#pragma once

#include "jetimport/JetPages.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace kpl {

// A usage map row starts with its kind: an inline map, or a map of map
// pages. Where the bitmap starts: in an inline map after its kind and first
// page, on a map page after the page header.
constexpr char kJetInlineMap = 0x00;
constexpr char kJetMapOfMapPages = 0x01;
constexpr qsizetype kJetInlineMapBitmapStart = 5;
constexpr qsizetype kJetMapPageBitmapStart = 4;

// The file's global usage map: a set bit means the page is free.
constexpr JetRowPointer kJetGlobalUsageMap{1, 0};

// The pages a usage map marks as a table's own, in ascending order. The map
// is a bitmap, either in the map's row itself after the number of the page
// its first bit stands for, or on map pages whose numbers the row lists, one
// for each stretch of pages. Fails for a map of any other kind.
QList<quint32> usageMapPages(const JetPages& pages, const JetRowPointer& map);

// An inline usage map row of `rowSize` bytes (69 for a table's maps) that
// marks `marked` (ascending), its first bit standing for the first of them
// rounded down to a multiple of 8 (page 0 when there are none). None when
// the pages span more than the row's bitmap holds.
std::optional<QByteArray> inlineUsageMap(const QList<quint32>& marked, int rowSize);

} // namespace kpl
