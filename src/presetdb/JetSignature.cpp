#include "presetdb/JetSignature.h"

#include <QFile>

namespace kpl {

bool hasJetSignature(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(19).mid(4);
    return head == "Standard Jet DB" || head == "Standard ACE DB";
}

} // namespace kpl
