#include "texts/ControlTexts.h"

#include "core/Failure.h"
#include "core/ProcessState.h"
#include "core/platform/AtomicWrite.h"
#include "core/platform/CaseBlindPath.h"
#include "core/platform/ExecutableNames.h"
#include "core/platform/PathRules.h"
#include "errors/Procedure.h"
#include "settings/Ini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kpl {

namespace {

const QString kGerman = QStringLiteral("1031");

bool hasText(const QString& value) {
    return !value.isEmpty() && value != QLatin1String("0");
}

// Another control of the collection carries exactly the same name.
bool isArrayMember(const QList<Control>& controls, qsizetype position) {
    for (qsizetype j = 0; j < controls.size(); ++j) {
        if (j != position && controls[j].name == controls[position].name)
            return true;
    }
    return false;
}

// Name, array index and tag as the keys of a control spell them.
QString keySuffix(const Control& control, bool arrayMember) {
    QString suffix = control.name;
    if (arrayMember) {
        if (!control.index)
            raise(vb::ObjectNotAnArray);
        suffix += QString::number(*control.index);
    }
    return suffix + QLatin1Char('_') + control.tag;
}

bool hasCaptionAndHelp(const Control& control) {
    const QString kind = control.kind.toUpper();
    return kind == QLatin1String("LABEL") || kind == QLatin1String("COMMANDBUTTON") ||
           kind == QLatin1String("CHECKBOX");
}

QString read(ProcessState& state, const QString& lang, const QString& key) {
    return LoadIniString(state, lang, key, languageFilePath(state), false);
}

void write(ProcessState& state, const QString& value, const QString& lang, const QString& key) {
    SaveIni(state, value, lang, key, languageFilePath(state));
}

void loadCaption(ProcessState& state, const QString& lang, Control& control,
                 const QString& suffix) {
    const QString key = QStringLiteral("Caption_") + suffix;
    const QString caption = read(state, lang, key);
    if (hasText(caption))
        control.caption = caption;
    else
        write(state, lang == kGerman ? control.caption : QStringLiteral("0"), lang, key);
}

void loadHelpText(ProcessState& state, const QString& lang, const Control& control) {
    const int number = control.helpId;
    if (number == 0)
        return;
    QString& text = state.helpTexts.at(number);
    const QString key = QStringLiteral("Help") + QString::number(number);
    text = read(state, lang, key);
    if (!hasText(text))
        write(state, QStringLiteral("0"), lang, key);
}

void loadToolTip(ProcessState& state, const QString& lang, Control& control,
                 const QString& suffix) {
    if (control.tag.toUpper().contains(QLatin1String("NOTTT")))
        return;
    const QString key = QStringLiteral("TTT_") + suffix;
    const QString toolTip = read(state, lang, key);
    if (hasText(toolTip))
        control.toolTip = toolTip;
    else
        write(state, QStringLiteral("0"), lang, key);
}

void loadControlTexts(ProcessState& state, const QString& lang, Control& control,
                      bool arrayMember) {
    const QString suffix = keySuffix(control, arrayMember);
    if (hasCaptionAndHelp(control)) {
        loadCaption(state, lang, control, suffix);
        loadHelpText(state, lang, control);
    }
    loadToolTip(state, lang, control, suffix);
}

} // namespace

QString languageFilePath(const ProcessState& state) {
    const QString& executable = state.runtime.executablePath();
    return platform::executableFolder(executable) + platform::separator() +
           platform::executableName(executable) + QStringLiteral(".ini");
}

QString GetLanguage(ProcessState& state) {
    Procedure proc(state, QStringLiteral("GetLanguage"));
    const QString section = QStringLiteral("Language");
    QString language;
    proc.assign(language, [&] {
        return LoadIniString(state, section, section, languageFilePath(state), false);
    });
    if (!language.isEmpty())
        return language;
    proc.step([&] { SaveIni(state, kGerman, section, section, languageFilePath(state)); });
    return kGerman;
}

QString installedLanguageFile() {
    const QString path = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                         QStringLiteral("/" KPL_DEFAULT_LANGUAGE_FILE));
    return QFileInfo(path).isFile() ? path : QString();
}

void LoadToolTipTexts(ProcessState& state, QList<Control>& controls) {
    const QString own = languageFilePath(state);
    const QString installed = installedLanguageFile();
    // A copy that cannot be made leaves the start as without a default.
    if (!installed.isEmpty() && !platform::fileExists(own))
        platform::copyFile(installed, own, *state.fileCalls);
    const QString lang = GetLanguage(state);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const bool arrayMember = isArrayMember(controls, i);
        try {
            loadControlTexts(state, lang, controls[i], arrayMember);
        } catch (const Failure&) {
            // A failure ends this control's handling where it happened; what
            // was set before stays set, and the next control is handled.
        }
    }
}

} // namespace kpl
