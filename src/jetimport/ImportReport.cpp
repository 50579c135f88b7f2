#include "jetimport/ImportReport.h"

namespace kpl {

void printTableCounts(QTextStream& out, const QList<TableCount>& counts) {
    for (const TableCount& count : counts)
        out << "  " << count.table << ": " << count.read << " read, " << count.written
            << " written\n";
    if (counts.isEmpty())
        out << "  (no user tables)\n";
    out.flush();
}

} // namespace kpl
