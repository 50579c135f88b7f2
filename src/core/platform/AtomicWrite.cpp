#include "core/platform/AtomicWrite.h"

#include "core/platform/PathRules.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <algorithm>

namespace kpl::platform {

namespace {

const QString kTemporaryMark = QStringLiteral(".kpltmp-");
constexpr int kRandomLength = 6;
constexpr qint64 kChunkSize = 1 << 20;

bool isLetterOrDigit(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

QString randomSuffix() {
    static const QString letters =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    QString suffix;
    for (int i = 0; i < kRandomLength; ++i)
        suffix += letters[int(QRandomGenerator::global()->bounded(letters.size()))];
    return suffix;
}

// Whether `entry` is a temporary file of a write of the file named `name`.
bool isTemporaryOf(const QString& entry, const QString& name) {
    const QString prefix = name + kTemporaryMark;
    const Qt::CaseSensitivity cs =
        caseSensitiveFileNames() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (entry.size() != prefix.size() + kRandomLength || !entry.startsWith(prefix, cs))
        return false;
    return std::all_of(entry.begin() + prefix.size(), entry.end(), isLetterOrDigit);
}

QString reason(const std::error_code& error, const QString& stage) {
    return QString::fromStdString(error.message()) + QStringLiteral(" while ") + stage;
}

// A failure before the new file was put in place.
std::optional<WriteFailure> failed(std::optional<QString> reason) {
    if (!reason)
        return std::nullopt;
    return WriteFailure{*reason, false};
}

// One replacement of a target: a temporary file beside it, written, checked
// and renamed into its place, or removed again.
class AtomicFile {
public:
    AtomicFile(const QString& target, FileCalls& calls) : m_calls(calls) {
        const QFileInfo info(target);
        const QString resolved = info.canonicalFilePath();
        m_target = !info.isSymLink()    ? target
                   : resolved.isEmpty() ? info.symLinkTarget()
                                        : resolved;
    }
    ~AtomicFile() { discard(); }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::optional<QString> open();
    std::optional<QString> write(const char* data, qint64 size);
    std::optional<WriteFailure> commit(qint64 expectedSize);

private:
    void discard();

    FileCalls& m_calls;
    QString m_target;
    QString m_temporary;
    std::optional<FileHandle> m_file;
};

std::optional<QString> AtomicFile::open() {
    removeStaleTemporaries(m_target, m_calls);
    std::error_code error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_temporary = m_target + kTemporaryMark + randomSuffix();
        FileHandle file = 0;
        error = m_calls.create(m_temporary, file);
        if (!error) {
            m_file = file;
            break;
        }
        if (error != std::errc::file_exists)
            break;
    }
    if (!m_file) {
        m_temporary.clear();
        return reason(error, QStringLiteral("creating a file beside it"));
    }
    if (QFileInfo::exists(m_target)) {
        if (const std::error_code refused = m_calls.copyPermissions(m_target, *m_file))
            return reason(refused, QStringLiteral("taking over its permissions"));
    }
    return std::nullopt;
}

std::optional<QString> AtomicFile::write(const char* data, qint64 size) {
    while (size > 0) {
        qint64 done = 0;
        std::error_code error = m_calls.write(*m_file, data, size, done);
        if (!error && done == 0)
            error = std::make_error_code(std::errc::no_space_on_device);
        if (error)
            return reason(error, QStringLiteral("writing"));
        data += done;
        size -= done;
    }
    return std::nullopt;
}

std::optional<WriteFailure> AtomicFile::commit(qint64 expectedSize) {
    if (const std::error_code error = m_calls.sync(*m_file))
        return failed(reason(error, QStringLiteral("syncing to disk")));
    qint64 written = 0;
    if (const std::error_code error = m_calls.size(*m_file, written))
        return failed(reason(error, QStringLiteral("checking the size")));
    if (written != expectedSize)
        return failed(QStringLiteral("the new file holds %1 bytes instead of %2")
                          .arg(written)
                          .arg(expectedSize));
    const std::error_code closed = m_calls.close(*m_file);
    m_file.reset();
    if (closed)
        return failed(reason(closed, QStringLiteral("closing")));
    if (const std::error_code error = m_calls.rename(m_temporary, m_target))
        return failed(reason(error, QStringLiteral("putting it in place")));
    m_temporary.clear();
    if (const std::error_code error = m_calls.syncFolder(QFileInfo(m_target).absolutePath()))
        return WriteFailure{QString::fromStdString(error.message()), true};
    return std::nullopt;
}

void AtomicFile::discard() {
    if (m_file)
        m_calls.close(*m_file); // the file is removed next; its errors no longer matter
    if (!m_temporary.isEmpty())
        m_calls.remove(m_temporary);
}

} // namespace

QString temporaryFileTemplate(const QString& target) {
    return target + kTemporaryMark + QString(kRandomLength, QLatin1Char('X'));
}

void removeStaleTemporaries(const QString& target, FileCalls& calls) {
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTemporaryOf(entry, info.fileName()))
            calls.remove(folder.filePath(entry)); // what cannot go now goes next time
    }
}

std::optional<WriteFailure> replaceFile(const QString& target, const QByteArray& content,
                                        FileCalls& calls) {
    AtomicFile file(target, calls);
    if (std::optional<QString> error = file.open())
        return failed(error);
    if (std::optional<QString> error = file.write(content.constData(), content.size()))
        return failed(error);
    return file.commit(content.size());
}

std::optional<WriteFailure> copyFile(const QString& source, const QString& target,
                                     FileCalls& calls) {
    FileHandle input = 0;
    if (const std::error_code error = calls.openForReading(source, input))
        return failed(reason(error, QStringLiteral("opening the source ") +
                                        QDir::toNativeSeparators(source)));
    // Closed when the copy is done; a read-only file has nothing to lose.
    const auto closeInput = qScopeGuard([&] { calls.close(input); });
    qint64 sourceSize = 0;
    if (const std::error_code error = calls.size(input, sourceSize))
        return failed(reason(error, QStringLiteral("reading the source")));
    AtomicFile file(target, calls);
    if (std::optional<QString> error = file.open())
        return failed(error);
    QByteArray chunk(kChunkSize, Qt::Uninitialized);
    qint64 copied = 0;
    for (;;) {
        qint64 got = 0;
        if (const std::error_code error = calls.read(input, chunk.data(), chunk.size(), got))
            return failed(reason(error, QStringLiteral("reading the source")));
        if (got == 0)
            break;
        if (std::optional<QString> error = file.write(chunk.constData(), got))
            return failed(error);
        copied += got;
    }
    if (copied != sourceSize)
        return failed(QStringLiteral("the source changed from %1 to %2 bytes while it was copied")
                          .arg(sourceSize)
                          .arg(copied));
    return file.commit(sourceSize);
}

} // namespace kpl::platform
