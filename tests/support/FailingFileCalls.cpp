#include "FailingFileCalls.h"

#include <QFileInfo>

namespace kpl::test {

bool FailingFileCalls::named(const QString& path) const {
    const QString file = QFileInfo(path).fileName();
    return m_name.isEmpty() || file == m_name ||
           file.startsWith(m_name + QStringLiteral(".kpltmp-"));
}

bool FailingFileCalls::fails(Call call, const QString& path) {
    const bool failing = call == m_call && named(path);
    failures += failing ? 1 : 0;
    return failing;
}

std::error_code FailingFileCalls::create(const QString& path, platform::FileHandle& file) {
    if (fails(Call::Create, path))
        return std::make_error_code(m_error);
    const std::error_code error = FileCalls::create(path, file);
    if (!error)
        m_paths.insert(file, path);
    return error;
}

std::error_code FailingFileCalls::write(platform::FileHandle file, const char* data, qint64 size,
                                        qint64& done) {
    done = 0;
    return fails(Call::Write, file) ? std::make_error_code(m_error)
                                    : FileCalls::write(file, data, size, done);
}

std::error_code FailingFileCalls::sync(platform::FileHandle file) {
    return fails(Call::Sync, file) ? std::make_error_code(m_error) : FileCalls::sync(file);
}

std::error_code FailingFileCalls::size(platform::FileHandle file, qint64& bytes) {
    const std::error_code error = FileCalls::size(file, bytes);
    if (fails(Call::ShortSize, file))
        --bytes;
    return error;
}

std::error_code FailingFileCalls::close(platform::FileHandle file) {
    const bool failing = fails(Call::Close, file);
    m_paths.remove(file);
    const std::error_code error = FileCalls::close(file);
    return failing ? std::make_error_code(m_error) : error;
}

std::error_code FailingFileCalls::rename(const QString& from, const QString& to) {
    m_renamedNamed = named(to);
    return fails(Call::Rename, to) ? std::make_error_code(m_error) : FileCalls::rename(from, to);
}

std::error_code FailingFileCalls::syncFolder(const QString& folder) {
    if (m_call != Call::SyncFolder || !m_renamedNamed)
        return FileCalls::syncFolder(folder);
    ++failures;
    return std::make_error_code(m_error);
}

std::error_code FailingFileCalls::writable(const QString& path) {
    return fails(Call::Writable, path) ? std::make_error_code(m_error) : FileCalls::writable(path);
}

} // namespace kpl::test
