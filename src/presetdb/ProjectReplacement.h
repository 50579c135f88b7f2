#pragma once

#include <QString>
#include <QStringList>

namespace kpl {

struct ProcessState;
class Procedure;

// Every replacement of the project database in one update run: the machine
// copy put in its place, and the rebuilt source database at the end. A run
// that replaces it keeps the file as it was before the run beside it as
// "<project>.bak"; a run that does not leaves the last backup alone. A
// replacement never meets a journal of the file it replaces.
class ProjectReplacement {
public:
    ProjectReplacement(ProcessState& state, Procedure& proc, QString projectPath)
        : m_state(state), m_proc(proc), m_projectPath(std::move(projectPath)) {}

    // Copies the project database as it is before the run aside, to become
    // its backup when the run replaces it. Called before anything changes it.
    void keepPrevious();

    // Puts a copy of the database `from` in the project database's place.
    // False when it could not be done; the failure has been reported.
    bool replaceWith(const QString& from);

    // The end of the run: the rebuilt source database replaces the project
    // database only when no failure was reported during the run
    // (`failuresDuringRun`), and the source passes the engine's quick check
    // and holds the `created` records of PRESET_DEFS. Otherwise the project
    // database is kept, and a log line, and a box or the service log, say why
    // and what `changesInPlace` were made in it all the same.
    void finish(const QString& sourcePath, int failuresDuringRun, int created,
                const QStringList& changesInPlace);

private:
    void reportKept(const QString& sourcePath, const QString& reason, QStringList changes);

    ProcessState& m_state;
    Procedure& m_proc;
    QString m_projectPath;
    QString backupPath() const { return m_projectPath + QStringLiteral(".bak"); }
    QString pendingBackupPath() const { return backupPath() + QStringLiteral("-pending"); }

    enum class Backup { None, Pending, Failed, Written };
    Backup m_backup = Backup::None;
    QString m_replacedBy; // the database put in the project database's place
};

} // namespace kpl
