#include "Prerequisites.h"

#include <QStandardPaths>

namespace kpl::test {

namespace {
bool skipped = false;
}

bool prerequisitesRequired() {
    return qEnvironmentVariableIsSet("KPL_REQUIRE_TEST_PREREQUISITES");
}

void noteSkipped() {
    skipped = true;
}

int exitCode(int qExecResult) {
    if (qExecResult != 0)
        return qExecResult == kSkipExitCode ? 1 : qExecResult;
    return skipped ? kSkipExitCode : 0;
}

bool hasTool(const char* name) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

} // namespace kpl::test
