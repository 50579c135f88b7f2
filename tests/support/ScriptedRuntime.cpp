#include "ScriptedRuntime.h"

namespace kpl::test {

ScriptedRuntime::ScriptedRuntime(QString executablePath, QString commandLine,
                                 QStringList environment)
    : Runtime(std::move(executablePath), std::move(commandLine), std::move(environment)) {}

MsgAnswer ScriptedRuntime::showMessage(const MessageBoxRequest& request) {
    boxes.append(request);
    if (m_answers.isEmpty()) {
        ++unexpectedBoxes;
        return request.defaultButton;
    }
    return m_answers.takeFirst();
}

} // namespace kpl::test
