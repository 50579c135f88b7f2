#include "DemoProject.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <sqlite3.h>

namespace kpl::test {

namespace {

// The demo project scripts/make-demo-project laid out once for the whole
// suite (the CTest fixture demo_template), so that a test needs neither bash
// nor the sqlite3 tool and runs on every system.
QString demoTemplate() {
    return qEnvironmentVariable("KPL_DEMO_TEMPLATE");
}

// The host configuration names the restore folder by its absolute path, the
// template's: the copy names its own, with the system's separators.
bool pointRestoreFolderAt(const QString& root) {
    QFile file(root + QStringLiteral("/parameter/n4rconfiguration.ini"));
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray native =
        QDir::toNativeSeparators(root + QStringLiteral("/Restore/")).toLatin1();
    const QByteArray content =
        file.readAll().replace((demoTemplate() + QStringLiteral("/Restore/")).toLatin1(), native);
    return file.resize(0) && file.write(content) == content.size();
}

} // namespace

bool copyTree(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString copy = to + file.mid(from.size());
        if (!QDir().mkpath(QFileInfo(copy).path()) || !QFile::copy(file, copy))
            return false;
    }
    return true;
}

bool DemoProject::templateExists() {
    return !demoTemplate().isEmpty() && QFileInfo::exists(demoTemplate() + "/parameter");
}

DemoProject::DemoProject() {
    m_valid = templateExists() && copyTree(demoTemplate(), m_root) && pointRestoreFolderAt(m_root);
}

std::unique_ptr<ScriptedRuntime> DemoProject::runtime(const QString& commandLine) const {
    return std::make_unique<ScriptedRuntime>(
        path("KPL_Presets/KPL_Presets_Config"), commandLine,
        QStringList{QStringLiteral("USERNAME=tech"),
                    QStringLiteral("KPL_SERVICE_LOG=") + path("service.log")});
}

void DemoProject::sql(const QString& database, const QString& script) const {
    query(database, script);
}

QByteArray DemoProject::query(const QString& database, const QString& script) const {
    sqlite3* db = nullptr;
    if (sqlite3_open(database.toUtf8().constData(), &db) != SQLITE_OK)
        qFatal("cannot open %s: %s", qPrintable(database), sqlite3_errmsg(db));
    // Rows as the sqlite3 tool lists them: columns joined by "|", NULL empty.
    QByteArray rows;
    const auto listRow = [](void* out, int columns, char** values, char**) {
        QByteArray& listed = *static_cast<QByteArray*>(out);
        for (int column = 0; column < columns; ++column)
            listed.append(column ? "|" : "").append(values[column] ? values[column] : "");
        listed.append('\n');
        return 0;
    };
    char* error = nullptr;
    if (sqlite3_exec(db, script.toUtf8().constData(), listRow, &rows, &error) != SQLITE_OK)
        qFatal("SQL failed on %s: %s", qPrintable(database), error);
    sqlite3_close(db);
    return rows;
}

void DemoProject::write(const QString& relative, const QByteArray& content) const {
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(relative));
    file.write(content);
}

QByteArray DemoProject::read(const QString& file) const {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace kpl::test
