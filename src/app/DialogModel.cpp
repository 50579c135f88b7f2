#include "app/DialogModel.h"

#include "core/Platform.h"
#include "core/ProcessState.h"
#include "errors/ErrorHandler.h"
#include "errors/LineBreak.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "presetdb/WorkOnMDB.h"
#include "settings/CommandLine.h"
#include "settings/Ini.h"
#include "settings/IniWriteReport.h"
#include "settings/InstallationLock.h"
#include "settings/Machines.h"
#include "settings/ProjectPaths.h"
#include "texts/ControlTexts.h"
#include "texts/EditRecord.h"

#include <cmath>

namespace kpl {

namespace {

const QString kTimeField = QStringLiteral("TextZeit");
const QString kProject = QStringLiteral("Project");
constexpr Rgb kLightGrey{192, 192, 192};
constexpr Rgb kHelpGreen{0, 255, 0};
constexpr qint32 kMaxSeconds = 3600;

// The help text with every "<CRLF>" marker (in any letter case) turned into
// CR LF.
QString expandLineBreakMarkers(QString text) {
    const QString marker = QStringLiteral("<CRLF>");
    QString out;
    qsizetype at = text.indexOf(marker, 0, Qt::CaseInsensitive);
    while (at >= 0) {
        out += text.left(at) + QStringLiteral("\r\n");
        text = text.mid(at + marker.size());
        at = text.indexOf(marker, 0, Qt::CaseInsensitive);
    }
    return out + text;
}

} // namespace

DialogModel::DialogModel(ProcessState& state, DialogLayout layout, QLocale numberLocale)
    : m_state(state), m_form(std::move(layout.form)), m_controls(std::move(layout.controls)),
      m_numbers(std::move(numberLocale)), m_caption(m_form.caption) {}

const Control& DialogModel::control(const QString& name) const {
    for (const Control& c : m_controls) {
        if (c.name == name)
            return c;
    }
    qFatal("the dialog has no control named %s", qPrintable(name));
}

Control& DialogModel::at(const QString& name) {
    return const_cast<Control&>(std::as_const(*this).control(name));
}

void DialogModel::setValue(const QString& name, int value) {
    Control& box = at(name);
    if (box.value == value)
        return;
    box.value = value;
    if (name == QLatin1String("CheckDTI"))
        CheckDTI_Click();
    else if (name == QLatin1String("CheckTolleranz"))
        CheckTolleranz_Click();
}

void DialogModel::setText(const QString& name, const QString& text) {
    Control& field = at(name);
    if (field.text == text)
        return;
    field.text = text;
    field.selStart = 0;
    field.selLength = 0;
    if (name == kTimeField)
        TextZeit_Change();
}

// ---- Start-up and the dialog's own events ---------------------------------

void DialogModel::Form_Load() {
    Procedure proc(m_state, QStringLiteral("Form_Load"));
    proc.step([&] {
        const platform::FileLock lock = lockInstallation(m_state);
        LoadToolTipTexts(m_state, m_controls);
    });
    proc.assign(m_configurationIniPath, [&] { return GetN4RConfigurationIniPath(m_state); });
    if (proc.test([&] { return GetStartModeIntegrated(m_state); }))
        proc.step([&] { setCaptionForMode(QStringLiteral(" - integriert")); });
    else
        proc.step([&] { setCaptionForMode(QStringLiteral(" - standalone")); });
    proc.step([&] { GetExistingMachines(m_state, m_configurationIniPath); });
    proc.step([&] { SetupUserInterFace(); });
    if (proc.test([&] { return !m_state.silentMode; })) {
        proc.step([&] { at(QStringLiteral("CommandOK")).enabled = true; });
        proc.step([&] { at(QStringLiteral("CommandCancel")).enabled = true; });
    } else {
        proc.step([&] { CommandOK_Click(); });
    }
}

void DialogModel::setCaptionForMode(const QString& modeSuffix) {
    const QString folder = platform::executableFolder(m_state.runtime.executablePath());
    m_caption =
        QStringLiteral("Erweiterte Konfiguration ") + GetFileNameOnly(m_state, folder) + modeSuffix;
}

void DialogModel::Form_Activate() {
    Procedure proc(m_state, QStringLiteral("Form_Activate"));
    proc.step([&] { at(QStringLiteral("CommandOK")).enabled = true; });
}

void DialogModel::Form_Resize() {
    // The layout is fixed; nothing follows the window's size.
}

void DialogModel::Form_QueryUnload(bool& cancel) {
    Procedure proc(m_state, QStringLiteral("Form_QueryUnload"));
    bool abandon = false;
    proc.assign(abandon, [&] { return ConfirmCancel(); });
    cancel = !abandon;
    if (abandon)
        FinishProcess(m_state);
}

// ---- Settings editing ------------------------------------------------------

void DialogModel::SetupUserInterFace() {
    Procedure proc(m_state, QStringLiteral("SetupUserInterFace"));
    QString ini;
    proc.assign(ini, [&] { return GetProgramIniPath(m_state, 1); });
    const auto loadSwitch = [&](const QString& box, const QString& key) {
        proc.step(
            [&] { setValue(box, LoadIniBoolean(m_state, kProject, key, ini, false) ? 1 : 0); });
    };
    loadSwitch(QStringLiteral("CheckDTI"), QStringLiteral("ManualDowntimeReasons"));
    loadSwitch(QStringLiteral("CheckTolleranz"), QStringLiteral("ManualDowntimeTimerActiv"));
    QString stored;
    proc.assign(stored, [&] {
        return LoadIniString(m_state, kProject, QStringLiteral("ManualDowntimeTimer"), ini, false);
    });
    if (proc.test([&] { return m_numbers.isNumeric(stored); }))
        proc.assign(m_state.timerSeconds, [&] { return m_numbers.toInteger(stored); });
    else
        proc.step([&] { m_state.timerSeconds = 0; });
    // The change event validates the loaded value at once.
    proc.step([&] { setText(kTimeField, m_numbers.format(m_state.timerSeconds)); });
}

void DialogModel::WriteInputs() {
    Procedure proc(m_state, QStringLiteral("WriteInputs"));
    QString ini;
    proc.assign(ini, [&] { return GetProgramIniPath(m_state, 2); });
    IniWriteReport writes(m_state, proc.name());
    const auto saveSwitch = [&](const QString& box, const QString& key) {
        proc.step([&] { writes.save(at(box).value == 1, kProject, key, ini); });
    };
    saveSwitch(QStringLiteral("CheckDTI"), QStringLiteral("ManualDowntimeReasons"));
    saveSwitch(QStringLiteral("CheckTolleranz"), QStringLiteral("ManualDowntimeTimerActiv"));
    proc.step([&] {
        writes.save(QVariant::fromValue(m_state.timerSeconds), kProject,
                    QStringLiteral("ManualDowntimeTimer"), ini);
    });
    proc.step([&] { writes.report(); });
    proc.step([&] { WriteEditInfo(m_state); });
}

bool DialogModel::hasFraction(const QString& text) const {
    const std::optional<double> number = m_numbers.value(text);
    return number && *number != std::floor(*number);
}

// Keeps the time field a whole number of seconds, at most 3600. Its own
// changes of the text re-enter it before it goes on with the new text.
void DialogModel::TextZeit_Change() {
    Procedure proc(m_state, QStringLiteral("TextZeit_Change"));
    Control& field = at(kTimeField);
    if (proc.test([&] { return field.text.isEmpty(); })) {
        proc.step([&] { m_state.timerSeconds = 0; });
        proc.step([&] { field.selStart = 0; });
        return;
    }
    if (proc.test([&] { return m_numbers.isNumeric(field.text); })) {
        if (proc.test([&] { return hasFraction(field.text); }))
            proc.step([&] {
                setText(kTimeField, m_numbers.format(std::floor(*m_numbers.value(field.text))));
            });
        if (proc.test([&] { return m_numbers.toLong(field.text) > kMaxSeconds; }))
            proc.step([&] { setText(kTimeField, QString::number(kMaxSeconds)); });
        proc.assign(m_state.timerSeconds, [&] { return m_numbers.toInteger(field.text); });
    } else {
        // Undoes the keystroke: back to the last valid value.
        proc.step([&] { setText(kTimeField, m_numbers.format(m_state.timerSeconds)); });
    }
    proc.step([&] {
        field.selStart = int(field.text.size());
        field.selLength = 0;
    });
}

void DialogModel::TextZeit_GotFocus() {
    Procedure proc(m_state, QStringLiteral("TextZeit_GotFocus"));
    Control& field = at(kTimeField);
    if (proc.test([&] { return m_state.helpMode; })) {
        proc.step([&] { ShowInfoText(field); });
        return;
    }
    proc.step([&] {
        field.selStart = 0;
        field.selLength = int(field.text.size());
    });
}

void DialogModel::TextZeit_LostFocus() {
    Procedure proc(m_state, QStringLiteral("TextCountdown_LostFocus"));
    if (proc.test([&] { return at(kTimeField).text.isEmpty(); }))
        proc.step([&] { setText(kTimeField, QStringLiteral("0")); });
}

// ---- Confirm, cancel and close ---------------------------------------------

void DialogModel::CommandOK_Click() {
    Procedure proc(m_state, QStringLiteral("CommandOK_Click"));
    if (proc.test([&] { return m_state.helpMode; })) {
        proc.step([&] { ShowInfoText(at(QStringLiteral("CommandOK"))); });
        return;
    }
    proc.step([&] { at(QStringLiteral("CommandOK")).enabled = false; });
    proc.step([&] { at(QStringLiteral("CommandCancel")).enabled = false; });
    proc.step([&] { CloseMe(); });
}

void DialogModel::CloseMe() {
    Procedure proc(m_state, QStringLiteral("CloseMe"));
    // Held until the process ends.
    const platform::FileLock lock = lockInstallation(m_state);
    proc.step([&] { m_state.runtime.doEvents(); });
    proc.step([&] { m_state.runtime.setHourglass(true); });
    proc.step([&] { WorkOnMDB(m_state); });
    proc.step([&] { WriteInputs(); });
    proc.step([&] { m_state.runtime.setHourglass(false); });
    FinishProcess(m_state);
}

void DialogModel::CommandCancel_Click() {
    Procedure proc(m_state, QStringLiteral("CommandCancel_Click"));
    if (proc.test([&] { return m_state.helpMode; })) {
        proc.step([&] { ShowInfoText(at(QStringLiteral("CommandCancel"))); });
        return;
    }
    bool abandon = false;
    proc.assign(abandon, [&] { return ConfirmCancel(); });
    if (abandon)
        FinishProcess(m_state);
}

QString DialogModel::cancelText() {
    QString text = QStringLiteral("Cancel edits?") + lfCr() + QStringLiteral("Remark:") + lfCr() +
                   QStringLiteral("Until now no changes have been taken over ");
    if (!m_state.integratedMode)
        return text;
    const QString& executable = m_state.runtime.executablePath();
    return text + lfCr() + quote() + GetOCXName(m_state) + quote() +
           QStringLiteral(" has to be configured again in ") + quote() +
           QStringLiteral("standalone-mode") + quote() + QStringLiteral(" via ") + lfCr() +
           quote() + platform::executableFolder(executable) + platform::separator() +
           platform::executableFileName(executable) + quote();
}

bool DialogModel::ConfirmCancel() {
    const QString text = cancelText();
    if (m_state.silentMode) {
        LogFault(m_state, text);
        return true;
    }
    const MsgAnswer answer = m_state.runtime.showMessage(
        {text, QStringLiteral("Cancel?"), MsgIcon::Exclamation, MsgButtons::YesNo, MsgAnswer::No});
    if (answer != MsgAnswer::Yes)
        return false;
    WriteErrorLog(
        m_state, QStringLiteral("Konfigurations-EXE wurde abgebrochen:     ") + GetOCXName(m_state),
        false);
    return true;
}

// ---- Help mode and information texts ---------------------------------------

void DialogModel::CommandQuest_Click() {
    m_state.helpMode = !m_state.helpMode;
    at(QStringLiteral("CommandQuest")).backColor = m_state.helpMode ? kHelpGreen : kLightGrey;
}

void DialogModel::ShowInfoText(const Control& control) {
    if (!m_state.helpMode)
        return;
    // A number outside the table shows an empty text.
    const int number = control.helpId;
    const QString text =
        m_state.helpTexts.contains(number) ? m_state.helpTexts.at(number) : QString();
    m_state.runtime.showMessage({expandLineBreakMarkers(text), QStringLiteral("Info:"),
                                 MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok});
}

// A click has already toggled the box: in help mode the toggle is undone and
// the box's information text shown instead. The undo raises the click event
// once more, which the guard swallows.
void DialogModel::ShowCheckBoxInfoText(Control& checkBox) {
    if (!m_state.helpMode)
        return;
    if (m_infoGuard) {
        m_infoGuard = false;
        return;
    }
    m_infoGuard = true;
    setValue(checkBox.name, checkBox.value == 0 ? 1 : 0);
    ShowInfoText(checkBox);
}

void DialogModel::CheckDTI_Click() {
    ShowCheckBoxInfoText(at(QStringLiteral("CheckDTI")));
}
void DialogModel::CheckTolleranz_Click() {
    ShowCheckBoxInfoText(at(QStringLiteral("CheckTolleranz")));
}
void DialogModel::FrameDTI_Click() {
    ShowInfoText(at(QStringLiteral("FrameDTI")));
}
void DialogModel::LabelZeit_Click() {
    ShowInfoText(at(QStringLiteral("LabelZeit")));
}
void DialogModel::TextZeit_Click() {
    ShowInfoText(at(kTimeField));
}

} // namespace kpl
