#include "core/platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <pwd.h>
#include <unistd.h>

namespace kpl::platform {

void nameRuntimeFolderWhereUnset() {
    const char* variable = "XDG_RUNTIME_DIR";
    if (!qEnvironmentVariableIsEmpty(variable))
        return;
    // The user the process runs as, named as Qt names it.
    const passwd* user = getpwuid(geteuid());
    const QString name = user ? QFile::decodeName(user->pw_name) : QString();
    qputenv(variable, QFile::encodeName(QDir::tempPath() + QStringLiteral("/runtime-") + name));
}

} // namespace kpl::platform
