#include "presetdb/AtomicCopy.h"

#include "core/Failure.h"

#include <QDir>
#include <QFileInfo>

namespace kpl {

namespace {
[[noreturn]] void fail(qint32 number, const QString& path, const QString& reason) {
    raise(number, QStringLiteral("%1: %2 (%3)")
                      .arg(vb::description(number), reason, QDir::toNativeSeparators(path)));
}
} // namespace

void copyFileAtomically(const QString& source, const QString& target, platform::FileCalls& calls) {
    if (!QFileInfo::exists(source))
        fail(vb::FileNotFound, source, QStringLiteral("the file does not exist"));
    if (const std::optional<QString> error = platform::copyFile(source, target, calls))
        fail(vb::PathFileAccessError, target, *error);
}

} // namespace kpl
