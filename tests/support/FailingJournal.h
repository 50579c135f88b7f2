#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3_vfs;

namespace kpl::test {

// While it lives, every write to the rollback journal of a database whose
// file name starts with `name` fails with an I/O error, as a failing disk
// fails it under the engine (or only the first `failures` writes, as a disk
// that fails for a moment): installed as the engine's default file layer for
// the connections opened meanwhile. One at a time.
class FailingJournal {
public:
    explicit FailingJournal(const QString& name, int failures = -1);
    ~FailingJournal();
    FailingJournal(const FailingJournal&) = delete;
    FailingJournal& operator=(const FailingJournal&) = delete;

private:
    sqlite3_vfs* m_real;
};

} // namespace kpl::test
