#pragma once

#include <QElapsedTimer>

namespace kpl {

// Paces the letting-run of pending events: the long loops of the update run
// ask for it for every record they touch, while a window needs it only a few
// dozen times a second. A request is due when kInterval milliseconds have
// passed since the last due one; the first request is always due.
class EventPace {
public:
    static constexpr qint64 kInterval = 15;

    bool due() {
        if (m_last.isValid() && !m_last.hasExpired(kInterval))
            return false;
        m_last.start();
        return true;
    }

private:
    QElapsedTimer m_last;
};

} // namespace kpl
