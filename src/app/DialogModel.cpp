#include "app/DialogModel.h"

#include "app/InstallationClaim.h"
#include "core/ProcessState.h"
#include "core/platform/ExecutableNames.h"
#include "core/platform/PathRules.h"
#include "errors/ErrorHandler.h"
#include "errors/LineBreak.h"
#include "errors/Logs.h"
#include "errors/Procedure.h"
#include "presetdb/WorkOnMDB.h"
#include "presetdb/WriteAccess.h"
#include "settings/CommandLine.h"
#include "settings/Ini.h"
#include "settings/IniWriteReport.h"
#include "settings/InstallationLock.h"
#include "settings/Machines.h"
#include "settings/ProjectPaths.h"
#include "texts/ControlTexts.h"
#include "texts/EditRecord.h"

#include <algorithm>
#include <cmath>

namespace kpl {

namespace {

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
      m_numbers(std::move(numberLocale)), m_caption(m_form.caption) {
    for (const auto& [id, name] : kControlNames) {
        const auto found = std::find_if(m_controls.cbegin(), m_controls.cend(),
                                        [&](const Control& c) { return c.name == name; });
        if (found == m_controls.cend())
            qFatal("the dialog's layout has no control named %s", name.data());
        m_positions[std::size_t(id)] = found - m_controls.cbegin();
    }
}

const Control& DialogModel::control(ControlId id) const {
    return m_controls.at(m_positions[std::size_t(id)]);
}

Control& DialogModel::at(ControlId id) {
    return m_controls[m_positions[std::size_t(id)]];
}

void DialogModel::setValue(ControlId box, int value) {
    const int before = at(box).value;
    changeValue(box, value);
    m_setInDialog[std::size_t(box)] |= at(box).value != before;
}

void DialogModel::setText(ControlId field, const QString& text) {
    const QString before = at(field).text;
    changeText(field, text);
    m_setInDialog[std::size_t(field)] |= at(field).text != before;
}

void DialogModel::changeValue(ControlId box, int value) {
    Control& control = at(box);
    if (control.value == value)
        return;
    control.value = value;
    if (box == ControlId::CheckDTI)
        CheckDTI_Click();
    else if (box == ControlId::CheckTolleranz)
        CheckTolleranz_Click();
}

void DialogModel::changeText(ControlId field, const QString& text) {
    Control& control = at(field);
    if (control.text == text)
        return;
    control.text = text;
    control.selStart = 0;
    control.selLength = 0;
    if (field == ControlId::TextZeit)
        TextZeit_Change();
}

// ---- Start-up and the dialog's own events ---------------------------------

void DialogModel::Form_Load() {
    Procedure proc(m_state, QStringLiteral("Form_Load"));
    proc.step([&] { m_dialogLock = claimInstallation(m_state); });
    // Edits that OK could not save are not asked for: a start with a window
    // makes the confirmation's check at once and ends before the dialog.
    if (!m_state.silentMode && !CheckWriteAccess(m_state))
        FinishProcess(m_state);
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
        proc.step([&] { at(ControlId::CommandOK).enabled = true; });
        proc.step([&] { at(ControlId::CommandCancel).enabled = true; });
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
    proc.step([&] { at(ControlId::CommandOK).enabled = true; });
}

void DialogModel::Form_Resize() {
    // The layout is fixed; nothing follows the window's size.
}

void DialogModel::Form_QueryUnload(bool& cancel) {
    // The confirmation run is not cancelled: it ends the process itself.
    if (m_confirming) {
        cancel = true;
        return;
    }
    Procedure proc(m_state, QStringLiteral("Form_QueryUnload"));
    bool abandon = false;
    proc.assign(abandon, [&] { return ConfirmCancel(); });
    cancel = !abandon;
    if (abandon)
        FinishProcess(m_state, ExitCode::Cancelled);
}

// ---- Settings editing ------------------------------------------------------

void DialogModel::SetupUserInterFace() {
    Procedure proc(m_state, QStringLiteral("SetupUserInterFace"));
    QString ini;
    proc.assign(ini, [&] { return GetProgramIniPath(m_state, IniAccess::Read); });
    QString problem;
    proc.assign(problem, [&] { return programIniReadProblem(m_state); });
    if (proc.test([&] { return !problem.isEmpty(); }))
        proc.step([&] { reportPresetsUnread(problem); });
    const auto loadSwitch = [&](ControlId box, const QString& key) {
        proc.step(
            [&] { changeValue(box, LoadIniBoolean(m_state, kProject, key, ini, false) ? 1 : 0); });
    };
    loadSwitch(ControlId::CheckDTI, QStringLiteral("ManualDowntimeReasons"));
    loadSwitch(ControlId::CheckTolleranz, QStringLiteral("ManualDowntimeTimerActiv"));
    QString stored;
    proc.assign(stored, [&] {
        return LoadIniString(m_state, kProject, QStringLiteral("ManualDowntimeTimer"), ini, false);
    });
    if (proc.test([&] { return m_numbers.isNumeric(stored); }))
        proc.assign(m_state.timerSeconds, [&] { return m_numbers.toInteger(stored); });
    else
        proc.step([&] { m_state.timerSeconds = 0; });
    // The change event validates the loaded value at once.
    proc.step([&] { changeText(ControlId::TextZeit, m_numbers.format(m_state.timerSeconds)); });
}

// The dialog shows the defaults; writing them would put values nobody chose
// over the presets in place.
void DialogModel::reportPresetsUnread(const QString& problem) {
    m_presetsRead = false;
    const QString text =
        QStringLiteral("The presets could not be read:") + lfCr() + problem + QStringLiteral(".") +
        lfCr() +
        (m_state.silentMode ? QStringLiteral("They are not written.")
                            : QStringLiteral("Only the presets changed in this dialog are saved."));
    WriteErrorLog(m_state, text);
    ReportFault(m_state, text);
}

bool DialogModel::presetKnown(ControlId id) const {
    return m_presetsRead || m_setInDialog[std::size_t(id)];
}

void DialogModel::WriteInputs() {
    Procedure proc(m_state, QStringLiteral("WriteInputs"));
    QString ini;
    proc.assign(ini, [&] { return GetProgramIniPath(m_state, IniAccess::Write); });
    IniWriteReport writes(m_state, proc.name());
    // The edit record tells of a configuration that was made: it is written
    // only after something was.
    bool edited = m_databasesWritten;
    const auto saveSwitch = [&](ControlId box, const QString& key) {
        if (!presetKnown(box))
            return;
        edited = true;
        proc.step([&] { writes.save(at(box).value == 1, kProject, key, ini); });
    };
    saveSwitch(ControlId::CheckDTI, QStringLiteral("ManualDowntimeReasons"));
    saveSwitch(ControlId::CheckTolleranz, QStringLiteral("ManualDowntimeTimerActiv"));
    if (presetKnown(ControlId::TextZeit)) {
        edited = true;
        proc.step([&] {
            writes.save(QVariant::fromValue(m_state.timerSeconds), kProject,
                        QStringLiteral("ManualDowntimeTimer"), ini);
        });
    }
    proc.step([&] { writes.report(); });
    if (edited)
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
    Control& field = at(ControlId::TextZeit);
    if (proc.test([&] { return field.text.isEmpty(); })) {
        proc.step([&] { m_state.timerSeconds = 0; });
        proc.step([&] { field.selStart = 0; });
        return;
    }
    if (proc.test([&] { return m_numbers.isNumeric(field.text); })) {
        if (proc.test([&] { return hasFraction(field.text); }))
            proc.step([&] {
                changeText(ControlId::TextZeit,
                           m_numbers.format(std::floor(*m_numbers.value(field.text))));
            });
        if (proc.test([&] { return m_numbers.toLong(field.text) > kMaxSeconds; }))
            proc.step([&] { changeText(ControlId::TextZeit, QString::number(kMaxSeconds)); });
        proc.assign(m_state.timerSeconds, [&] { return m_numbers.toInteger(field.text); });
    } else {
        // Undoes the keystroke: back to the last valid value.
        proc.step([&] { changeText(ControlId::TextZeit, m_numbers.format(m_state.timerSeconds)); });
    }
    proc.step([&] {
        field.selStart = int(field.text.size());
        field.selLength = 0;
    });
}

void DialogModel::TextZeit_GotFocus() {
    Procedure proc(m_state, QStringLiteral("TextZeit_GotFocus"));
    Control& field = at(ControlId::TextZeit);
    if (proc.test([&] { return m_state.helpMode; })) {
        proc.step([&] { ShowInfoText(field); });
        return;
    }
    proc.step([&] {
        field.selStart = 0;
        field.selLength = int(field.text.size());
    });
}

// Its failures are logged under "TextCountdown_LostFocus", the name this
// handler has always given itself in the error log, though the field is
// TextZeit; the logs keep reading as they always have.
void DialogModel::TextZeit_LostFocus() {
    Procedure proc(m_state, QStringLiteral("TextCountdown_LostFocus"));
    if (proc.test([&] { return at(ControlId::TextZeit).text.isEmpty(); }))
        proc.step([&] { changeText(ControlId::TextZeit, QStringLiteral("0")); });
}

// ---- Confirm, cancel and close ---------------------------------------------

void DialogModel::CommandOK_Click() {
    Procedure proc(m_state, QStringLiteral("CommandOK_Click"));
    if (proc.test([&] { return m_state.helpMode; })) {
        proc.step([&] { ShowInfoText(at(ControlId::CommandOK)); });
        return;
    }
    proc.step([&] { at(ControlId::CommandOK).enabled = false; });
    proc.step([&] { at(ControlId::CommandCancel).enabled = false; });
    proc.step([&] { CloseMe(); });
}

void DialogModel::CloseMe() {
    m_confirming = true;
    Procedure proc(m_state, QStringLiteral("CloseMe"));
    // Held until the process ends.
    const platform::FileLock lock = lockInstallation(m_state);
    if (!CheckWriteAccess(m_state))
        FinishProcess(m_state);
    proc.step([&] { m_state.runtime.doEvents(); });
    proc.step([&] { m_state.runtime.setHourglass(true); });
    proc.assign(m_databasesWritten, [&] { return WorkOnMDB(m_state); });
    proc.step([&] { WriteInputs(); });
    proc.step([&] { m_state.runtime.setHourglass(false); });
    FinishProcess(m_state);
}

void DialogModel::CommandCancel_Click() {
    Procedure proc(m_state, QStringLiteral("CommandCancel_Click"));
    if (proc.test([&] { return m_state.helpMode; })) {
        proc.step([&] { ShowInfoText(at(ControlId::CommandCancel)); });
        return;
    }
    bool abandon = false;
    proc.assign(abandon, [&] { return ConfirmCancel(); });
    if (abandon)
        FinishProcess(m_state, ExitCode::Cancelled);
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
    WriteErrorLog(m_state, QStringLiteral("Konfigurations-EXE wurde abgebrochen:     ") +
                               GetOCXName(m_state));
    return true;
}

// ---- Help mode and information texts ---------------------------------------

void DialogModel::CommandQuest_Click() {
    m_state.helpMode = !m_state.helpMode;
    at(ControlId::CommandQuest).backColor = m_state.helpMode ? kHelpGreen : kLightGrey;
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
void DialogModel::ShowCheckBoxInfoText(ControlId checkBox) {
    if (!m_state.helpMode)
        return;
    if (m_infoGuard) {
        m_infoGuard = false;
        return;
    }
    m_infoGuard = true;
    changeValue(checkBox, at(checkBox).value == 0 ? 1 : 0);
    ShowInfoText(at(checkBox));
}

void DialogModel::CheckDTI_Click() {
    ShowCheckBoxInfoText(ControlId::CheckDTI);
}
void DialogModel::CheckTolleranz_Click() {
    ShowCheckBoxInfoText(ControlId::CheckTolleranz);
}
void DialogModel::FrameDTI_Click() {
    ShowInfoText(at(ControlId::FrameDTI));
}
void DialogModel::LabelZeit_Click() {
    ShowInfoText(at(ControlId::LabelZeit));
}
void DialogModel::TextZeit_Click() {
    ShowInfoText(at(ControlId::TextZeit));
}

} // namespace kpl
