#pragma once

#include <QString>
#include <QVariant>

namespace kpl {

struct ProcessState;

// Single entries of INI files. A missing entry is no failure: the reads give
// "", -1 or false and report it only when `reportMissing` is set.
QString LoadIniString(ProcessState& state, const QString& section, const QString& key,
                      const QString& fileName, bool reportMissing);
qint16 LoadIniInteger(ProcessState& state, const QString& section, const QString& key,
                      const QString& fileName, bool reportMissing);
bool LoadIniBoolean(ProcessState& state, const QString& section, const QString& key,
                    const QString& fileName, bool reportMissing);

// Writes `value` as text: numbers in locale-independent decimal, texts as
// they are, Booleans as "true"/"false". Any other type, and a text holding a
// line break, is reported as a wrong data type and leaves the entry as it
// was. Whether the entry was written.
bool SaveIni(ProcessState& state, const QVariant& value, const QString& section, const QString& key,
             const QString& fileName);

} // namespace kpl
