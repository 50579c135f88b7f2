#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace kpl {

struct ProcessState;
class Procedure;
class ProjectDatabase;

// Every replacement of the project database in one update run: the machine
// copy put in its place, and the rebuilt source database at the end. A run
// that replaces it keeps the file as it was before the run beside it as
// "<project>.bak"; a run that does not leaves the last backup alone. A
// replacement never meets a journal of the file it replaces.
//
// Every run that keeps the project database says so: a line in the error
// log "... was kept ..." with the reason and what was changed in it all the
// same, also when the process ends on the way (a fatal check, the answer No
// to a failure), and then the copy made aside for the backup goes with it.
class ProjectReplacement {
public:
    // The run rebuilds `sourcePath` to replace `projectPath`. `project` is
    // the run's connection to the project database; it outlives this object,
    // so that what it committed can be told at any end.
    ProjectReplacement(ProcessState& state, Procedure& proc, QString sourcePath,
                       QString projectPath, const ProjectDatabase& project)
        : m_state(state), m_proc(proc), m_sourcePath(std::move(sourcePath)),
          m_projectPath(std::move(projectPath)), m_rebuiltPath(m_sourcePath),
          m_project(project) {}
    ProjectReplacement(const ProjectReplacement&) = delete;
    ProjectReplacement& operator=(const ProjectReplacement&) = delete;
    // Logs the kept project database when the process ended before the run
    // could tell, and removes the copy made aside that did not become the
    // backup.
    ~ProjectReplacement();

    // Copies the project database as it is before the run aside, to become
    // its backup when the run replaces it. Called before anything changes it.
    void keepPrevious();

    // Puts a copy of the database `from` in the project database's place.
    // False when it could not be done; the failure has been reported. A copy
    // that is in place but whose folder could not be synced counts as done
    // (and is reported).
    bool replaceWith(const QString& from);

    // The run rebuilds PRESET_DEFS in `rebuiltPath`, a copy of the source
    // database, instead of the source database itself: `writeBack` carries
    // the result into the source database once the copy is found sound, and
    // a failure of it keeps the project database.
    void rebuildsIn(const QString& rebuiltPath, std::function<void()> writeBack) {
        m_rebuiltPath = rebuiltPath;
        m_writeBack = std::move(writeBack);
    }

    // The end of the run: the rebuilt source database replaces the project
    // database only when the run found its result fit (`unfit` empty, else
    // why not), and the source passes the engine's quick check and holds the
    // `created` records of PRESET_DEFS. Otherwise, or when the replacement
    // fails, the project database is kept, and a log line, and a box or the
    // service log, say why and what was changed in it all the same.
    void finish(const QString& unfit, int created);

private:
    template <class Body> bool attempt(Body&& body);
    void writeBackup();
    QString writtenBack() const;
    QString notRebuilt(const QString& reason) const;
    QString notReplaced() const;
    QString keptText(const QString& what) const;
    void logKept(const QString& text);

    ProcessState& m_state;
    Procedure& m_proc;
    QString m_sourcePath;
    QString m_projectPath;
    QString m_rebuiltPath;
    std::function<void()> m_writeBack;
    const ProjectDatabase& m_project;
    QString backupPath() const { return m_projectPath + QStringLiteral(".bak"); }
    QString pendingBackupPath() const { return backupPath() + QStringLiteral("-pending"); }

    enum class Backup { None, Pending, Failed, Written };
    Backup m_backup = Backup::None;
    QString m_replacedBy;     // the database put in the project database's place
    QString m_failure;        // the description of the last failed attempt
    bool m_replacing = false; // the final replacement has begun
    bool m_told = false;      // the kept project database has been reported
};

} // namespace kpl
