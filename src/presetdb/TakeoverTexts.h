#pragma once

#include <QString>

namespace kpl::takeover {

// The texts of the takeover's checks. `component` is the component name in
// upper case, `executable` the executable's name.
QString warningText(const QString& component);
QString silentWarningText(const QString& component);
QString abortLine(const QString& executable, const QString& component,
                  const QString& executablePath);
QString countLine(const QString& executable, const QString& machineCopyPath, int walked,
                  int claimed, int inTarget);
QString conflictLine(const QString& component, const QString& field);

constexpr int kFailureNumber = 9999;
inline QString failureDescription() {
    return QStringLiteral("Database-Error - Contact Administrator!");
}

} // namespace kpl::takeover
