#include "jetimport/ImportReport.h"

namespace kpl {

void printTableCounts(QTextStream& out, const ImportCounts& counts) {
    for (const TableCount& count : counts.tables) {
        out << "  " << count.table << ": " << count.read << " read, " << count.written
            << " written";
        if (count.declared != count.read)
            out << "; the file declares " << count.declared;
        out << '\n';
    }
    if (counts.tables.isEmpty())
        out << "  (no user tables)\n";
    if (counts.catalogDeclaredEntries != counts.catalogEntries)
        out << "  the system catalog holds " << counts.catalogEntries
            << " entries; the file declares " << counts.catalogDeclaredEntries << '\n';
    out.flush();
}

} // namespace kpl
