#pragma once

#include <QString>
#include <QStringList>

namespace kpl {

enum class MsgIcon { Critical, Exclamation, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

// One modal message box. Texts keep the program's LF CR line breaks; the
// view turns them into line breaks on screen. An empty title means the
// application's own title (the executable's name).
struct MessageBoxRequest {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::Information;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer defaultButton = MsgAnswer::Ok;
};

// Everything the program takes from its surroundings: message boxes, letting
// pending events run, the mouse pointer, the executable's path, the command
// line and the environment. The dialog provides it with Qt; tests pose as any
// installation with a scripted double.
class Runtime {
public:
    Runtime(QString executablePath, QString commandLine, QStringList environment)
        : m_executablePath(std::move(executablePath)), m_commandLine(std::move(commandLine)),
          m_environment(std::move(environment)) {}
    virtual ~Runtime() = default;
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    virtual MsgAnswer showMessage(const MessageBoxRequest& request) = 0;
    // Lets pending window events run, so that the window repaints during a
    // long run: once per record the update run creates or reads, and while a
    // start waits for another run. Never inside a log write, which a
    // destructor may make while the stack unwinds.
    virtual void doEvents() = 0;
    virtual void setHourglass(bool on) = 0;

    // Full path of the running program file.
    const QString& executablePath() const { return m_executablePath; }
    // The arguments, joined by single blanks.
    const QString& commandLine() const { return m_commandLine; }
    // "NAME=value" entries in the order the platform lists them.
    const QStringList& environment() const { return m_environment; }
    QString environmentValue(const QString& name) const;

private:
    QString m_executablePath;
    QString m_commandLine;
    QStringList m_environment;
};

} // namespace kpl
