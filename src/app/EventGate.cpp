#include "app/EventGate.h"

#include <QCoreApplication>

namespace kpl {

void EventGate::rethrowIfEnded() const {
    if (m_end)
        throw *m_end;
}

void EventGate::close(const ProcessEnd& end) {
    m_end = end;
    QCoreApplication::exit(int(end.code));
}

} // namespace kpl
