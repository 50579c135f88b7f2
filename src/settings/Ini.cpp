#include "settings/Ini.h"

#include "core/ProcessState.h"
#include "core/Profile.h"
#include "core/WholeNumber.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"

#include <optional>

namespace kpl {

namespace {

void reportMissingEntry(ProcessState& state, const QString& section, const QString& key,
                        const QString& fileName) {
    ReportFault(state, QStringLiteral("File '") + fileName + QStringLiteral("' or Section [") +
                           section + QStringLiteral("] or Entry '") + key +
                           QStringLiteral("' not found"));
}

// The text SaveIni writes for `value`, or none for a type it does not store.
std::optional<QString> iniText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::UChar:
        return QString::number(value.toInt());
    case QMetaType::Float:
        return QString::number(value.toFloat(), 'g', 7);
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QString: {
        const QString text = value.toString();
        // A line break would add entries of its own to the file.
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
            return std::nullopt;
        return text;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

QString LoadIniString(ProcessState& state, const QString& section, const QString& key,
                      const QString& fileName, bool reportMissing) {
    Procedure proc(state, QStringLiteral("LoadIniString"));
    QString value;
    proc.assign(value, [&] { return state.profile.readString(fileName, section, key); });
    if (proc.test([&] { return value.isEmpty() && reportMissing; }))
        proc.step([&] { reportMissingEntry(state, section, key, fileName); });
    return value;
}

qint16 LoadIniInteger(ProcessState& state, const QString& section, const QString& key,
                      const QString& fileName, bool reportMissing) {
    Procedure proc(state, QStringLiteral("LoadIniInteger"));
    qint32 raw = 0;
    proc.assign(raw, [&] {
        const Profile::IntRead read = state.profile.readInt(fileName, section, key, -1);
        if (read.overflow)
            raise(vb::Overflow);
        return read.value;
    });
    qint16 result = 0;
    proc.assign(result, [&] { return toInt16(raw); });
    if (proc.test([&] { return result == -1 && reportMissing; }))
        proc.step([&] { reportMissingEntry(state, section, key, fileName); });
    return result;
}

bool LoadIniBoolean(ProcessState& state, const QString& section, const QString& key,
                    const QString& fileName, bool reportMissing) {
    Procedure proc(state, QStringLiteral("LoadIniBoolean"));
    QString text;
    proc.assign(text, [&] { return state.profile.readString(fileName, section, key).toUpper(); });
    const bool known = text == QLatin1String("TRUE") || text == QLatin1String("FALSE");
    if (proc.test([&] { return !known && reportMissing; }))
        proc.step([&] { reportMissingEntry(state, section, key, fileName); });
    return text == QLatin1String("TRUE");
}

bool SaveIni(ProcessState& state, const QVariant& value, const QString& section, const QString& key,
             const QString& fileName) {
    Procedure proc(state, QStringLiteral("SaveIni"));
    const std::optional<QString> text = iniText(value);
    if (!text) {
        ReportFault(state, QStringLiteral("Ini Save:  wrong data type"));
        return false;
    }
    bool written = false;
    proc.assign(written, [&] { return state.profile.writeString(fileName, section, key, *text); });
    return written;
}

} // namespace kpl
