#include "core/platform/CaseBlindPath.h"

#include "core/platform/PathRules.h"
#include "core/platform/TargetSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kpl::platform {

namespace {

// The entry of `folder` whose name matches `name` regardless of letter case.
QString matchEntry(const QString& folder, const QString& name) {
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

// `path` with every existing component spelled as it stands on disk; the
// components from the first one that does not exist on are kept as given.
QString resolveComponents(const QString& path) {
    if (kWindows || QFileInfo::exists(path))
        return path;
    const QString clean = QDir::cleanPath(path);
    const QStringList parts = clean.split(QLatin1Char('/'));
    QString current = clean.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    bool matching = true;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty())
            continue;
        QString next = part;
        if (matching && !QFileInfo::exists(current + part)) {
            next = matchEntry(current, part);
            if (next.isEmpty()) {
                matching = false;
                next = part;
            }
        }
        current += next;
        if (i + 1 < parts.size())
            current += QLatin1Char('/');
    }
    return current;
}

} // namespace

QString findFile(const QString& path) {
    if (path.isEmpty())
        return {};
    const QString resolved = resolveComponents(path);
    const QFileInfo info(resolved);
    return info.isFile() ? resolved : QString();
}

bool fileExists(const QString& path) {
    return !findFile(path).isEmpty();
}

QString resolveForWrite(const QString& path) {
    if (path.isEmpty())
        return path;
    const QString existing = findFile(path);
    if (!existing.isEmpty())
        return existing;
    const QFileInfo info(path);
    const QString folder = resolveComponents(info.path());
    return folder + separator() + info.fileName();
}

} // namespace kpl::platform
