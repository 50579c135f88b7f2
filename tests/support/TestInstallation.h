#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "ScriptedRuntime.h"

#include <memory>

namespace kpl::test {

// A project folder in a temporary directory, laid out as an installation:
// <root>/parameter/..., <root>/KPL_Presets/KPL_Presets_Config (the
// executable's path; the file itself need not exist) and the files a test
// writes into it.
class TestInstallation {
public:
    explicit TestInstallation(const QString& component = QStringLiteral("KPL_Presets"));

    QString root() const; // the project folder
    QString component() const { return m_component; }
    QString componentFolder() const; // <root>/<component>
    QString executablePath() const;  // <component folder>/<component>_Config
    QString path(const QString& relative) const;

    // Writes `content` to <root>/relative, creating folders as needed.
    void write(const QString& relative, const QByteArray& content) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;

    // A runtime posing as this installation's executable, started with
    // `commandLine`; the service log goes to <root>/service.log.
    std::unique_ptr<ScriptedRuntime> runtime(const QString& commandLine = {}) const;
    QString serviceLog() const { return path(QStringLiteral("service.log")); }

private:
    QTemporaryDir m_dir;
    QString m_component;
};

} // namespace kpl::test
