#include "jetimport/ImportFailure.h"

namespace kpl {

void failImport(const QString& message) {
    throw Failure{kImportFailureNumber, QStringLiteral("Jet import"), message};
}

} // namespace kpl
