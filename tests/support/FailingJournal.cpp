#include "FailingJournal.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace kpl::test {

namespace {

// The engine's own file layer, except that journals of the named databases
// get a copy of their methods whose write fails.
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_layer{};
sqlite3_io_methods g_failingMethods{};
QString g_name;
int g_failuresLeft = -1; // negative: every write fails
int (*g_realWrite)(sqlite3_file*, const void*, int, sqlite3_int64) = nullptr;

int failingWrite(sqlite3_file* file, const void* data, int size, sqlite3_int64 offset) {
    if (g_failuresLeft == 0)
        return g_realWrite(file, data, size, offset);
    if (g_failuresLeft > 0)
        --g_failuresLeft;
    return SQLITE_IOERR_WRITE;
}

int openFile(sqlite3_vfs*, const char* path, sqlite3_file* file, int flags, int* outFlags) {
    const int rc = g_real->xOpen(g_real, path, file, flags, outFlags);
    if (rc == SQLITE_OK && (flags & SQLITE_OPEN_MAIN_JOURNAL) && path &&
        QFileInfo(QString::fromUtf8(path)).fileName().startsWith(g_name)) {
        g_failingMethods = *file->pMethods;
        g_realWrite = file->pMethods->xWrite;
        g_failingMethods.xWrite = failingWrite;
        file->pMethods = &g_failingMethods;
    }
    return rc;
}

} // namespace

FailingJournal::FailingJournal(const QString& name, int failures)
    : m_real(sqlite3_vfs_find(nullptr)) {
    g_real = m_real;
    g_name = name;
    g_failuresLeft = failures;
    g_layer = *m_real;
    g_layer.zName = "failing-journal";
    g_layer.pNext = nullptr;
    g_layer.xOpen = openFile;
    sqlite3_vfs_register(&g_layer, 1);
}

FailingJournal::~FailingJournal() {
    sqlite3_vfs_unregister(&g_layer);
    sqlite3_vfs_register(m_real, 1);
}

} // namespace kpl::test
