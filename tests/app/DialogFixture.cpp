#include "DialogFixture.h"

#include <QFile>

namespace kpl::test {

DialogFixture::DialogFixture(const QString& commandLine, const QLocale& locale)
    : runtime(install.runtime(commandLine)), state(*runtime),
      model(state, presetsDialogLayout(), locale) {
    writeProjectFiles(install);
}

QStringList DialogFixture::logLines(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace kpl::test
