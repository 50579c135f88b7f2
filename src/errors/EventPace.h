#pragma once

#include <QElapsedTimer>

namespace kpl {

// Paces the letting-run of pending events: the long loops of the update run
// ask for it for every value they touch, while a window needs it only a few
// dozen times a second. The first request is due; after that, one request is
// due once kInterval milliseconds have passed. The clock is read on every
// kCallsPerLook-th request only, as the requests come far faster than that.
class EventPace {
public:
    static constexpr qint64 kInterval = 15;
    static constexpr unsigned kCallsPerLook = 16;

    bool due() {
        if (m_last.isValid() && (++m_calls % kCallsPerLook != 0 || !m_last.hasExpired(kInterval)))
            return false;
        m_last.start();
        return true;
    }

private:
    QElapsedTimer m_last;
    unsigned m_calls = 0;
};

} // namespace kpl
