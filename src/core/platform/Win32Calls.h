#pragma once

// The pieces the Windows units of this folder share: paths as the wide-
// character calls take them, the system's error codes and file times.
// Included by *_win.cpp only.

#include <QString>

#include <windows.h>

#include <string>
#include <system_error>

namespace kpl::platform::win32 {

// `path` with backslashes for the wide-character calls; an absolute path as
// long as the classic limit of 260 characters or longer gets the "\\?\"
// prefix ("\\?\UNC\" for a share), which lifts the limit.
std::wstring nativePath(const QString& path);

// The calling thread's last system error.
std::error_code lastError();
inline std::error_code unless(BOOL ok) {
    return ok ? std::error_code() : lastError();
}

// Makes `call` (which returns a BOOL, the error in GetLastError) again for
// about a second while another process holds the file for a moment (a virus
// scanner, the host program reading it). `alsoWhenDenied` counts "access
// denied" as such a hold too: a file open elsewhere without delete sharing
// refuses a rename over it so.
template <class Call> BOOL retryWhileHeld(Call&& call, bool alsoWhenDenied = false) {
    constexpr int kAttempts = 10;
    constexpr DWORD kPauseMs = 100;
    for (int attempt = 1;; ++attempt) {
        if (call())
            return TRUE;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                          (alsoWhenDenied && error == ERROR_ACCESS_DENIED);
        if (!held || attempt == kAttempts)
            return FALSE;
        Sleep(kPauseMs);
        SetLastError(error);
    }
}

// A FILETIME (100 ns since 1601-01-01) as nanoseconds since 1970-01-01 UTC,
// and back.
qint64 fromFileTime(const FILETIME& time);
FILETIME toFileTime(qint64 nanoseconds);

} // namespace kpl::platform::win32
