#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kpl {

struct ProcessState;

// The entries an operation writes with SaveIni, where an entry that could not
// be written must not pass unnoticed: SaveIni itself only returns false. The
// refused entries are reported together by report(): one line per file that
// names the operation, the entries, the file and the reason, written to the
// error log and reported as a fault (a box, or the service log when silent),
// which makes the run end with exit code 2. Entries that were written but
// whose folder could not be synced afterwards are reported the same way, as
// written. Meant for values of the types SaveIni stores.
class IniWriteReport {
public:
    IniWriteReport(ProcessState& state, QString operation)
        : m_state(state), m_operation(std::move(operation)) {}

    void save(const QVariant& value, const QString& section, const QString& key,
              const QString& file);
    void report();

private:
    struct Refusal {
        QString file;
        QString reason;
        QStringList entries;
        bool written = false; // in place, only the folder sync failed
    };

    ProcessState& m_state;
    QString m_operation;
    QList<Refusal> m_refusals;
};

} // namespace kpl
