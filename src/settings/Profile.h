#pragma once

#include <QString>

// Single INI entries on disk, read and written the way the Windows profile
// functions do it. Every call goes to the file anew; nothing is cached.
namespace kpl::profile {

// At most this many characters come back from a string read (a buffer of
// 255 characters, one of them for the terminator).
constexpr int kMaxRead = 254;

// The entry's value, at most kMaxRead characters; "" when the file, section
// or key is missing or the value is empty. Never fails: an unreadable file,
// a folder or binary garbage reads as missing.
QString readString(const QString& file, const QString& section, const QString& key);

// The integer read: a sign and decimal digits up to the first other
// character ("42abc" is 42, "abc" is 0); `defaultValue` when the entry is
// missing or empty. A number beyond the 32-bit range sets `overflow`.
struct IntRead {
    qint32 value = 0;
    bool overflow = false;
};
IntRead readInt(const QString& file, const QString& section, const QString& key,
                qint32 defaultValue);

// Writes one entry, creating file and section as needed, and changes no
// other byte of the file. The new content replaces the file atomically.
// False when the write is refused (a read-only file or folder, a folder
// where the file should be) or the value holds CR or LF.
bool writeString(const QString& file, const QString& section, const QString& key,
                 const QString& value);

} // namespace kpl::profile
