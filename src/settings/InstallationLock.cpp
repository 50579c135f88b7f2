#include "settings/InstallationLock.h"

#include "core/ProcessState.h"
#include "core/platform/ExecutableNames.h"
#include "core/platform/PathRules.h"
#include "errors/ErrorHandler.h"
#include "errors/Logs.h"
#include "settings/CommandLine.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

namespace kpl {

namespace {
constexpr qint64 kRetryAfterMs = 100;

// The file beside the executable named after it with `suffix`.
QString besideExecutable(const ProcessState& state, const QString& suffix) {
    const QString& executable = state.runtime.executablePath();
    return platform::executableFolder(executable) + platform::separator() +
           platform::executableName(executable) + suffix;
}
} // namespace

QString installationLockPath(const ProcessState& state) {
    return besideExecutable(state, QStringLiteral(".lock"));
}

QString dialogLockPath(const ProcessState& state) {
    return besideExecutable(state, QStringLiteral(".dialog.lock"));
}

std::optional<platform::FileLock> lockDialog(const ProcessState& state) {
    platform::FileLock lock;
    if (lock.tryLock(dialogLockPath(state)) == platform::FileLock::Attempt::Busy)
        return std::nullopt;
    return lock;
}

platform::FileLock lockInstallation(ProcessState& state, std::chrono::milliseconds wait) {
    const QString path = installationLockPath(state);
    const QDeadlineTimer deadline(wait);
    platform::FileLock lock;
    for (;;) {
        const platform::FileLock::Attempt attempt = lock.tryLock(path);
        if (attempt != platform::FileLock::Attempt::Busy)
            return lock;
        if (deadline.hasExpired())
            break;
        state.runtime.doEvents();
        QThread::msleep(ulong(qBound<qint64>(0, deadline.remainingTime(), kRetryAfterMs)));
    }
    const QString text =
        QStringLiteral("Another run of ") +
        platform::executableName(state.runtime.executablePath()) +
        QStringLiteral(" is working on this installation and did not end within ") +
        QString::number(double(wait.count()) / 1000) + QStringLiteral(" s (lock file ") +
        QDir::toNativeSeparators(path) + QStringLiteral("); nothing was written.");
    // The start-up takes the lock before it reads the start mode; the report
    // needs it to go to the right log.
    GetStartModeIntegrated(state);
    WriteErrorLog(state, text);
    ReportFault(state, text);
    EndProgram(state);
}

} // namespace kpl
