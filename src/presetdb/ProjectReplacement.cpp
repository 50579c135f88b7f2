#include "presetdb/ProjectReplacement.h"

#include "core/PresetTables.h"
#include "core/ProcessState.h"
#include "database/Database.h"
#include "database/DatabaseFile.h"
#include "database/Recordset.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "presetdb/AtomicCopy.h"
#include "presetdb/ProjectDatabase.h"

#include <QDir>
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

} // namespace

ProjectReplacement::~ProjectReplacement() {
    try {
        if (m_backup == Backup::Pending)
            m_state.fileCalls->remove(pendingBackupPath());
        // The process ended on the way, before the run could tell what became
        // of the project database.
        if (!m_told && m_replacedBy != m_sourcePath)
            logKept(keptText(m_replacing ? notReplaced()
                                         : notRebuilt(QStringLiteral("the run was ended"))));
    } catch (...) {
        // Nothing may leave a destructor; the logs are best effort here.
    }
}

// Runs `body` as one step of the run and keeps the description of its
// failure for the report.
template <class Body> bool ProjectReplacement::attempt(Body&& body) {
    return m_proc.step([&] {
        try {
            std::forward<Body>(body)();
        } catch (const Failure& failure) {
            m_failure = failure.description;
            throw;
        }
    });
}

void ProjectReplacement::keepPrevious() {
    if (!QFileInfo::exists(m_projectPath))
        return;
    m_backup = Backup::Failed;
    if (attempt(
            [&] { copyFileAtomically(m_projectPath, pendingBackupPath(), *m_state.fileCalls); }))
        m_backup = Backup::Pending;
}

// The copy made aside becomes the backup, in one step that outlives a crash.
// When only the folder sync after the rename fails, it is the backup all the
// same.
void ProjectReplacement::writeBackup() {
    platform::FileCalls& calls = *m_state.fileCalls;
    if (const std::error_code error = calls.rename(pendingBackupPath(), backupPath()))
        raise(vb::PathFileAccessError,
              QStringLiteral("%1: %2 (%3)")
                  .arg(vb::description(vb::PathFileAccessError),
                       QString::fromLocal8Bit(error.message().c_str()), shown(backupPath())));
    m_backup = Backup::Written;
    if (const std::error_code error = calls.syncFolder(QFileInfo(backupPath()).absolutePath()))
        raise(vb::PathFileAccessError,
              notSyncedDescription(backupPath(), QString::fromLocal8Bit(error.message().c_str())));
}

bool ProjectReplacement::replaceWith(const QString& from) {
    // Without its previous content kept, the project database is not replaced.
    if (m_backup == Backup::Failed)
        return false;
    if (m_backup == Backup::Pending && !attempt([&] { writeBackup(); }))
        return false;
    // A copy in place counts as made also when its folder sync failed.
    attempt([&] {
        recoverJournal(from);
        recoverJournal(m_projectPath);
        try {
            copyFileAtomically(from, m_projectPath, *m_state.fileCalls);
        } catch (const CopyNotSynced&) {
            m_replacedBy = from;
            throw;
        }
        m_replacedBy = from;
    });
    return m_replacedBy == from;
}

void ProjectReplacement::finish(const QString& unfit, int created) {
    QString reason = unfit.isEmpty() ? unsoundSource(m_rebuiltPath, created) : unfit;
    if (reason.isEmpty() && m_writeBack)
        reason = writtenBack();
    QString what;
    if (reason.isEmpty()) {
        m_replacing = true;
        if (replaceWith(m_sourcePath))
            return;
        what = notReplaced();
    } else {
        what = notRebuilt(reason);
    }
    m_told = true;
    const QString text = keptText(what);
    logKept(text);
    if (!m_state.silentMode)
        m_state.runtime.showMessage(
            {text, QString(), MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok});
}

// Why the rebuilt copy could not be carried into the source database; ""
// when it was.
QString ProjectReplacement::writtenBack() const {
    try {
        m_writeBack();
        return {};
    } catch (const Failure& failure) {
        return failure.description; // names the file and why
    }
}

QString ProjectReplacement::notRebuilt(const QString& reason) const {
    return QStringLiteral("%1 could not be rebuilt in %2 (%3)")
        .arg(table::PresetDefs, shown(m_sourcePath), reason);
}

QString ProjectReplacement::notReplaced() const {
    return QStringLiteral("%1 was rebuilt in %2, but it could not replace %3 (%4)")
        .arg(table::PresetDefs, shown(m_sourcePath), shown(m_projectPath), m_failure);
}

// `what` went wrong; the project database was kept, with what changed in it.
QString ProjectReplacement::keptText(const QString& what) const {
    QStringList changes = m_project.changesInPlace();
    if (!m_replacedBy.isEmpty())
        changes.prepend(QStringLiteral("%1 was put in its place").arg(shown(m_replacedBy)));
    QString text = what + QStringLiteral("; %1 was kept").arg(shown(m_projectPath));
    text += changes.isEmpty()
                ? QStringLiteral(" unchanged")
                : QStringLiteral(", changed only in this: ") + changes.join(QStringLiteral("; "));
    if (m_backup == Backup::Written)
        text +=
            QStringLiteral(". Its content before the run is kept as %1").arg(shown(backupPath()));
    return text + QLatin1Char('.');
}

// The error log, and the service log in a silent start, get the line; it
// counts as a failure of the run.
void ProjectReplacement::logKept(const QString& text) {
    ++m_state.failuresReported;
    WriteErrorLog(m_state, QStringLiteral("WorkOnMDB: ") + text);
    if (m_state.silentMode)
        LogFault(m_state, text);
}

} // namespace kpl
