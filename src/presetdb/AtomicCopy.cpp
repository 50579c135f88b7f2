#include "presetdb/AtomicCopy.h"

#include <QDir>
#include <QFileInfo>

namespace kpl {

namespace {
[[noreturn]] void fail(qint32 number, const QString& path, const QString& reason) {
    raise(number, QStringLiteral("%1: %2 (%3)")
                      .arg(vb::description(number), reason, QDir::toNativeSeparators(path)));
}
} // namespace

QString notSyncedDescription(const QString& path, const QString& reason) {
    return QStringLiteral("%1: %2 was written, but its folder could not be synced (%3)")
        .arg(vb::description(vb::PathFileAccessError), QDir::toNativeSeparators(path), reason);
}

void copyFileAtomically(const QString& source, const QString& target, platform::FileCalls& calls) {
    if (!QFileInfo::exists(source))
        fail(vb::FileNotFound, source, QStringLiteral("the file does not exist"));
    const std::optional<platform::WriteFailure> failure = platform::copyFile(source, target, calls);
    if (!failure)
        return;
    if (failure->inPlace)
        throw CopyNotSynced{
            {vb::PathFileAccessError, QString(), notSyncedDescription(target, failure->reason)}};
    fail(vb::PathFileAccessError, target, failure->reason);
}

} // namespace kpl
