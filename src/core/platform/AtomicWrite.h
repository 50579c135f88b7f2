#pragma once

#include "core/platform/FileCalls.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Whole-file writes that replace a file in one step: the new content goes to
// a temporary file beside the target, named after it with ".kpltmp-" and six
// letters or digits, which is synced to disk, checked for its full size and
// then renamed over the target; the folder is synced after the rename. A
// failure at any call up to the rename removes the temporary file and leaves
// the target as it was, byte for byte; a failing folder sync after it leaves
// the new file in place and says so (WriteFailure::inPlace). Temporary files of that naming beside
// the target, left by an earlier write that was killed, are removed first: the caller makes sure no
// other writer of the same target is running (one run at a time). A target that is a symbolic link
// is written through the link.
namespace kpl::platform {

// The name of a temporary file beside `target` as a pattern whose last six
// characters, "XXXXXX", stand for the random letters or digits; for a writer
// that makes such a file itself.
QString temporaryFileTemplate(const QString& target);

// Why a whole-file write failed: the system's message and what was being
// done. `inPlace`: the new file was put in place and only the folder could
// not be synced afterwards (the reason is then the system's message alone),
// so the new content stands but may not outlive a crash of the system.
struct WriteFailure {
    QString reason;
    bool inPlace = false;
};

// Removes the temporary files beside `target` that earlier writes of it left.
void removeStaleTemporaries(const QString& target, FileCalls& calls = systemFileCalls());

// Replaces `target` with `content`, creating it when missing.
std::optional<WriteFailure> replaceFile(const QString& target, const QByteArray& content,
                                        FileCalls& calls = systemFileCalls());

// Replaces `target` with a copy of `source`, as replaceFile does.
std::optional<WriteFailure> copyFile(const QString& source, const QString& target,
                                     FileCalls& calls = systemFileCalls());

} // namespace kpl::platform
