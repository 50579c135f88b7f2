#include "presetdb/AtomicCopy.h"

#include "errors/Failure.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace kpl {

namespace {
constexpr qint64 kChunkSize = 1 << 20;

[[noreturn]] void fail(qint32 number, const QString& path, const QString& reason) {
    raise(number, QStringLiteral("%1: %2 (%3)")
                      .arg(vb::description(number), reason, QDir::toNativeSeparators(path)));
}
} // namespace

void copyFileAtomically(const QString& source, const QString& target) {
    QFile input(source);
    if (!input.exists())
        fail(vb::FileNotFound, source, QStringLiteral("the file does not exist"));
    if (!input.open(QIODevice::ReadOnly))
        fail(vb::PathFileAccessError, source, input.errorString());
    // QSaveFile writes to a temporary file beside the target, syncs it to
    // disk on commit and renames it over the target; without commit the
    // temporary file is removed.
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        fail(vb::PathFileAccessError, target, output.errorString());
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(kChunkSize);
        if (chunk.isEmpty() && input.error() != QFileDevice::NoError)
            fail(vb::PathFileAccessError, source, input.errorString());
        if (output.write(chunk) != chunk.size())
            fail(vb::PathFileAccessError, target, output.errorString());
    }
    if (!output.commit())
        fail(vb::PathFileAccessError, target, output.errorString());
}

} // namespace kpl
