#pragma once

#include <QString>
#include <QTemporaryFile>
#include <functional>

namespace kpl {

// What libmdb writes to standard error while it works for the import: the
// library's only way of telling that something it read looked wrong. Calls
// into the library run through during(), which collects that text instead of
// letting it reach the terminal, so that the import can fail the file with
// it rather than report success.
class LibmdbMessages {
public:
    // Fails when there is no place to collect the text.
    LibmdbMessages();

    // Runs `call`; returns what was written to standard error meanwhile, ""
    // for nothing.
    QString during(const std::function<void()>& call);

private:
    QTemporaryFile m_collected;
};

} // namespace kpl
