#include "database/TextCollation.h"

#include "internal/Engine.h"

#include <sqlite3.h>

namespace kpl {

namespace {
int collate(void*, int lengthA, const void* a, int lengthB, const void* b) {
    const QStringView viewA(static_cast<const char16_t*>(a), lengthA / 2);
    const QStringView viewB(static_cast<const char16_t*>(b), lengthB / 2);
    return compareText(viewA, viewB);
}
} // namespace

int compareText(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive);
}

QString textKey(const QString& text) {
    return text.toCaseFolded();
}

bool registerTextCollation(sqlite3* connection) {
    return sqlite3_create_collation_v2(connection, kTextCollation, SQLITE_UTF16_ALIGNED, nullptr,
                                       collate, nullptr) == SQLITE_OK;
}

} // namespace kpl
