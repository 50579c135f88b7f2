#pragma once

#include "core/Runtime.h"

#include <QList>

#include <functional>

namespace kpl::test {

// A runtime for tests: records every message box and answers from a script.
// A box that finds no scripted answer is counted as unexpected and gets its
// default button, so a forgotten answer fails the test instead of hanging.
class ScriptedRuntime : public Runtime {
public:
    ScriptedRuntime(QString executablePath, QString commandLine = {},
                    QStringList environment = {QStringLiteral("USERNAME=tech")});

    MsgAnswer showMessage(const MessageBoxRequest& request) override;
    void doEvents() override {
        ++eventRuns;
        if (duringEvents)
            duringEvents();
    }
    void setHourglass(bool on) override { hourglassChanges.append(on); }

    void answer(MsgAnswer next) { m_answers.append(next); }

    // An event that arrives whenever pending events run.
    std::function<void()> duringEvents;
    QList<MessageBoxRequest> boxes;
    QList<bool> hourglassChanges;
    int eventRuns = 0;
    int unexpectedBoxes = 0;

private:
    QList<MsgAnswer> m_answers;
};

} // namespace kpl::test
