#pragma once

#include "jetimport/JetPages.h"

#include <QByteArray>
#include <QByteArrayView>

namespace kpl {

// The whole value of a Memo or OLE column from the 12 bytes the row holds
// for it: the value's length with two flags, a pointer to the row that holds
// the value and four unused bytes. The value lies after those 12 bytes in
// the row itself, or in the row pointed to, or in a chain of rows that each
// start with a pointer to the next. Fails when the value is not there whole.
QByteArray readLongValue(const JetPages& pages, QByteArrayView reference);

} // namespace kpl
