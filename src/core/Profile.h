#pragma once

#include "core/IniDocument.h"
#include "core/platform/AtomicWrite.h"
#include "core/platform/FileCalls.h"

#include <QHash>
#include <QString>

#include <optional>

namespace kpl {

// Single INI entries on disk, read and written the way the Windows profile
// functions do it. A write is seen by the next read. The parsed content of
// each file is kept for as long as the file's stamp (which file it is, its
// size and last-write time) stays the same, so a run parses a file once
// however many entries it reads; a change by any other program changes the
// stamp and the file is read anew. The process state owns one; each test
// builds its own.
class Profile {
public:
    // At most this many characters come back from a string read (a buffer of
    // 255 characters, one of them for the terminator).
    static constexpr int kMaxRead = 254;

    // The integer read: a sign and decimal digits up to the first other
    // character ("42abc" is 42, "abc" is 0). A number beyond the 32-bit range
    // sets `overflow`.
    struct IntRead {
        qint32 value = 0;
        bool overflow = false;
    };

    explicit Profile(platform::FileCalls& calls = platform::systemFileCalls()) : m_calls(&calls) {}

    // The system calls the writes are made of; tests hand in failing ones.
    void useFileCalls(platform::FileCalls& calls) { m_calls = &calls; }

    // The entry's value, at most kMaxRead characters; "" when the file,
    // section or key is missing or the value is empty. Never fails: an
    // unreadable file, a folder or binary garbage reads as missing.
    QString readString(const QString& file, const QString& section, const QString& key);

    // `defaultValue` when the entry is missing or empty.
    IntRead readInt(const QString& file, const QString& section, const QString& key,
                    qint32 defaultValue);

    // Writes one entry, creating file and section as needed, and changes no
    // other byte of the file. The new content replaces the file in one step
    // (platform::replaceFile). False, with the reason in lastWriteFailure(),
    // when the write is refused (no file name, a read-only file, a folder
    // where the file should be, a value holding CR or LF) or fails. True
    // when the entry is written; lastWriteFailure() then still tells when the
    // file's folder could not be synced after it (inPlace).
    bool writeString(const QString& file, const QString& section, const QString& key,
                     const QString& value);
    const std::optional<platform::WriteFailure>& lastWriteFailure() const {
        return m_lastWriteFailure;
    }

private:
    struct Cached {
        platform::FileStamp stamp;
        IniDocument document;
    };

    // The document of the existing file `path`, read anew only when its
    // stamp changed; none when it cannot be read.
    const IniDocument* document(const QString& path);
    bool refuse(const QString& reason);

    platform::FileCalls* m_calls;
    QHash<QString, Cached> m_documents;
    std::optional<platform::WriteFailure> m_lastWriteFailure;
};

} // namespace kpl
