#pragma once

#include "core/EventPace.h"
#include "core/Runtime.h"

namespace kpl {

// The runtime of a start without a window (the silent start): no boxes are
// asked in silent mode; should one be asked all the same, its text goes to
// the standard error stream and its default button is the answer.
class CoreRuntime : public Runtime {
public:
    using Runtime::Runtime;

    MsgAnswer showMessage(const MessageBoxRequest& request) override;
    void doEvents() override;
    void setHourglass(bool) override {}

private:
    EventPace m_pace;
};

} // namespace kpl
