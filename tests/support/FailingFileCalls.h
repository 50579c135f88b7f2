#pragma once

#include "core/platform/FileCalls.h"

#include <QHash>

namespace kpl::test {

// The system's file calls, except that calls of one kind fail: with `error`,
// or, for ShortSize, by reporting a file one byte shorter than it is (a
// write that got lost on its way). With `name` given, only calls on the
// file of that name and its temporary files fail, and only the folder syncs
// that follow a rename of such a file.
class FailingFileCalls : public platform::FileCalls {
public:
    enum class Call { Create, Write, Sync, ShortSize, Close, Rename, SyncFolder, Writable };

    FailingFileCalls(Call call, std::errc error, QString name = {})
        : m_call(call), m_error(error), m_name(std::move(name)), m_renamedNamed(m_name.isEmpty()) {}

    std::error_code create(const QString& path, platform::FileHandle& file) override;
    std::error_code write(platform::FileHandle file, const char* data, qint64 size,
                          qint64& done) override;
    std::error_code sync(platform::FileHandle file) override;
    std::error_code size(platform::FileHandle file, qint64& bytes) override;
    std::error_code close(platform::FileHandle file) override;
    std::error_code rename(const QString& from, const QString& to) override;
    std::error_code syncFolder(const QString& folder) override;
    std::error_code writable(const QString& path) override;

    int failures = 0;

private:
    bool named(const QString& path) const;
    bool fails(Call call, const QString& path);
    bool fails(Call call, platform::FileHandle file) { return fails(call, m_paths.value(file)); }

    Call m_call;
    std::errc m_error;
    QString m_name;
    QHash<platform::FileHandle, QString> m_paths; // of the files this object created
    bool m_renamedNamed;                          // the last rename was of a named file
};

} // namespace kpl::test
