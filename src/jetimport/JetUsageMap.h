#pragma once

#include "jetimport/JetPages.h"

#include <QList>

namespace kpl {

// The pages a usage map marks as a table's own, in ascending order. The map
// is a bitmap, either in the map's row itself after the number of the page
// its first bit stands for, or on map pages whose numbers the row lists, one
// for each stretch of pages. Fails for a map of any other kind.
QList<quint32> usageMapPages(const JetPages& pages, const JetRowPointer& map);

} // namespace kpl
