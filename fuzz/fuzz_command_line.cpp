// Arbitrary text as the command line: reading the keywords never crashes.
// The first line of the input is tried as a keyword too.
#include "core/CommandKeywords.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString commandLine =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString keywords[] = {QStringLiteral("EXTERNAL"), QStringLiteral("LOGFILE"),
                                QStringLiteral("external"), QString(),
                                commandLine.section(QLatin1Char('\n'), 0, 0)};
    for (const QString& keyword : keywords)
        kpl::ReadCommand(commandLine, keyword);
    return 0;
}
