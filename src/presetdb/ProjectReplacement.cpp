#include "presetdb/ProjectReplacement.h"

#include "core/Platform.h"
#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "core/platform/FileCalls.h"
#include "database/Database.h"
#include "database/DatabaseFile.h"
#include "database/Recordset.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "presetdb/AtomicCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kpl {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Why the rebuilt source database is not fit to replace the project
// database; "" when it is.
QString unsoundSource(const QString& sourcePath, int created) {
    try {
        Database source = Database::open(sourcePath);
        Recordset check = source.openSnapshot(QStringLiteral("PRAGMA quick_check"));
        const QString verdict = check.value(0).toString();
        if (verdict != QLatin1String("ok"))
            return QStringLiteral("it fails the integrity check: ") + verdict;
        const qint64 held = source.rowCount(table::PresetDefs);
        if (held != created)
            return QStringLiteral("it holds %1 records of %2 where %3 were created")
                .arg(QString::number(held), table::PresetDefs, QString::number(created));
        source.close();
        return {};
    } catch (const Failure& failure) {
        return QStringLiteral("it cannot be checked: ") + failure.description;
    }
}

// Renames `from` over `to`, replacing it in one step that outlives a crash.
void renameOver(const QString& from, const QString& to) {
    platform::FileCalls& calls = platform::systemFileCalls();
    std::error_code error = calls.rename(from, to);
    if (!error)
        error = calls.syncFolder(QFileInfo(to).absolutePath());
    if (error)
        raise(vb::PathFileAccessError,
              QStringLiteral("%1: %2 (%3)")
                  .arg(vb::description(vb::PathFileAccessError),
                       QString::fromLocal8Bit(error.message().c_str()), shown(to)));
}

} // namespace

void ProjectReplacement::keepPrevious() {
    if (!platform::fileExists(m_projectPath))
        return;
    m_backup = Backup::Failed;
    if (m_proc.step([&] { copyFileAtomically(m_projectPath, pendingBackupPath()); }))
        m_backup = Backup::Pending;
}

bool ProjectReplacement::replaceWith(const QString& from) {
    // Without its previous content kept, the project database is not replaced.
    if (m_backup == Backup::Failed)
        return false;
    if (m_backup == Backup::Pending) {
        if (!m_proc.step([&] { renameOver(pendingBackupPath(), backupPath()); }))
            return false;
        m_backup = Backup::Written;
    }
    const bool replaced = m_proc.step([&] {
        recoverJournal(from);
        recoverJournal(m_projectPath);
        copyFileAtomically(from, m_projectPath);
    });
    if (replaced)
        m_replacedBy = from;
    return replaced;
}

void ProjectReplacement::finish(const QString& sourcePath, int failuresDuringRun, int created,
                                const QStringList& changesInPlace) {
    QString reason;
    if (failuresDuringRun > 0)
        reason =
            failuresDuringRun == 1
                ? QStringLiteral("a failure was reported during the run")
                : QStringLiteral("%1 failures were reported during the run").arg(failuresDuringRun);
    else
        reason = unsoundSource(sourcePath, created);
    if (reason.isEmpty())
        replaceWith(sourcePath);
    else
        reportKept(sourcePath, reason, changesInPlace);
    if (m_backup == Backup::Pending)
        QFile::remove(pendingBackupPath());
}

void ProjectReplacement::reportKept(const QString& sourcePath, const QString& reason,
                                    QStringList changes) {
    if (!m_replacedBy.isEmpty())
        changes.prepend(QStringLiteral("%1 was put in its place").arg(shown(m_replacedBy)));
    QString text = QStringLiteral("%1 could not be rebuilt in %2 (%3); %4 was kept")
                       .arg(table::PresetDefs, shown(sourcePath), reason, shown(m_projectPath));
    text += changes.isEmpty()
                ? QStringLiteral(" unchanged")
                : QStringLiteral(", changed only in this: ") + changes.join(QStringLiteral("; "));
    if (m_backup == Backup::Written)
        text +=
            QStringLiteral(". Its content before the run is kept as %1").arg(shown(backupPath()));
    text += QLatin1Char('.');

    ++m_state.failuresReported;
    WriteErrorLog(m_state, QStringLiteral("WorkOnMDB: ") + text);
    if (m_state.silentMode)
        LogFault(m_state, text);
    else
        m_state.runtime.showMessage(
            {text, QString(), MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok});
}

} // namespace kpl
