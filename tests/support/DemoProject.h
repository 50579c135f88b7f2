#pragma once

#include "ScriptedRuntime.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace kpl::test {

// The demo project of scripts/make-demo-project in a temporary folder, copied
// from the one the suite lays out first (KPL_DEMO_TEMPLATE), and a runtime
// posing as its executable. The project folder's name holds a
// character outside ASCII, as many an installation's does.
class DemoProject {
public:
    DemoProject();
    // Whether the suite's demo project is there to be copied.
    static bool templateExists();
    bool isValid() const { return m_valid; }
    QString path(const QString& relative) const { return m_root + '/' + relative; }
    QString sourceDb() const { return path("KPL_Presets/KPL_Presets_Source.mdb"); }
    QString projectDb() const { return path("KPL_Presets/KPL_Presets.mdb"); }
    QString machineCopyDb() const { return path("Restore/KPL_Presets/KPL_Presets.mdb"); }
    std::unique_ptr<ScriptedRuntime> runtime(const QString& commandLine = {}) const;
    // Runs an SQL script on a database.
    void sql(const QString& database, const QString& script) const;
    // The rows an SQL script gives, as the sqlite3 tool lists them.
    QByteArray query(const QString& database, const QString& script) const;
    QByteArray read(const QString& file) const;
    // Replaces the file at `relative` with `content`.
    void write(const QString& relative, const QByteArray& content) const;

private:
    QTemporaryDir m_dir;
    QString m_root = m_dir.path() + QStringLiteral("/Projekt-B\u00fcro");
    bool m_valid = false;
};

// Copies the files under the folder `from` to the same places under `to`.
bool copyTree(const QString& from, const QString& to);

} // namespace kpl::test
