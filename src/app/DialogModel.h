#pragma once

#include "app/ControlId.h"
#include "app/DialogLayout.h"
#include "app/NumericText.h"
#include "core/platform/FileLock.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <array>

namespace kpl {

struct ProcessState;

// The presets dialog without any window: its controls as data and every
// event handler under its name. A view shows what the model holds and
// forwards its events here; the silent start runs it without a view.
//
// Like the platform the dialog was designed for, changing a check box's value
// raises its click event and changing the time field's text raises its change
// event, whether the user or the program made the change; the handlers rely
// on that re-entry.
class DialogModel {
public:
    DialogModel(ProcessState& state, DialogLayout layout, QLocale numberLocale = QLocale::system());
    DialogModel(const DialogModel&) = delete;
    DialogModel& operator=(const DialogModel&) = delete;

    const FormLayout& form() const { return m_form; }
    const QString& caption() const { return m_caption; }
    const QList<Control>& controls() const { return m_controls; }
    const Control& control(ControlId id) const;

    // The user changes a check box's value or the time field's text; the
    // control's event follows. A control whose value the change leaves
    // different counts as set in the dialog (see WriteInputs).
    void setValue(ControlId box, int value);
    void setText(ControlId field, const QString& text);

    // Start-up and the dialog's own events.
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    // Asks the cancel question; `cancel` refuses the close. A confirmed close
    // ends the process.
    void Form_QueryUnload(bool& cancel);

    // Settings editing.
    void SetupUserInterFace();
    void TextZeit_Change();
    void TextZeit_GotFocus();
    void TextZeit_LostFocus();

    // Confirm, cancel and close.
    void CommandOK_Click();
    void CloseMe();
    void CommandCancel_Click();
    bool ConfirmCancel();

    // Help mode and information texts.
    void CommandQuest_Click();
    void ShowInfoText(const Control& control);
    void ShowCheckBoxInfoText(ControlId checkBox);
    void CheckDTI_Click();
    void CheckTolleranz_Click();
    void FrameDTI_Click();
    void LabelZeit_Click();
    void TextZeit_Click();

private:
    Control& at(ControlId id);
    // The same changes made by the program.
    void changeValue(ControlId box, int value);
    void changeText(ControlId field, const QString& text);
    void reportPresetsUnread(const QString& problem);
    bool presetKnown(ControlId id) const;
    void WriteInputs();
    void setCaptionForMode(const QString& modeSuffix);
    bool hasFraction(const QString& text) const;
    QString cancelText();

    ProcessState& m_state;
    FormLayout m_form;
    QList<Control> m_controls;
    // Where each control the program addresses stands in m_controls.
    std::array<qsizetype, kControlNames.size()> m_positions{};
    NumericText m_numbers;
    QString m_caption;
    QString m_configurationIniPath;
    bool m_infoGuard = false;
    // Held while the dialog is open: no second dialog of the installation.
    platform::FileLock m_dialogLock;
    // Whether the presets came from a file that could be read; when not,
    // only those set in the dialog are written.
    bool m_presetsRead = true;
    std::array<bool, kControlNames.size()> m_setInDialog{};
    // The confirmation's database work wrote a database.
    bool m_databasesWritten = false;
    // The confirmation run has begun: there is no way back to editing.
    bool m_confirming = false;
};

} // namespace kpl
