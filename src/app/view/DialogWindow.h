#pragma once

#include "app/view/TwipScale.h"

#include <QHash>
#include <QString>
#include <QWidget>

namespace kpl {

class DialogModel;
class EventGate;
struct Control;

} // namespace kpl

class QLineEdit;

namespace kpl {

// The presets dialog on screen, built from the model's control table. It
// forwards the window's events to the model's handlers through the event
// gate and then shows what the model holds; it decides nothing itself.
class DialogWindow : public QWidget {
public:
    DialogWindow(DialogModel& model, EventGate& gate, QWidget* parent = nullptr);

    // The dialog's load event: the start-up sequence, before the window is
    // shown. A silent start ends the process in here.
    void load();

    // Shows the model's state on the widgets. Runs after every event, and
    // before the program lets the event loop run in the middle of a handler
    // (message boxes, pending events), so the screen is never stale.
    void refresh();

    // The scale the layout is shown at: the screen's dots per inch, and a
    // zoom below 1 where the screen's available area is too small for it.
    const TwipScale& scale() const { return m_scale; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    template <class Handler> void dispatch(Handler&& handler);
    void buildControls();
    void placeControls();
    void fitToScreen();
    void keepFrameOnScreen();
    void followScreen();
    QSize frameExtent() const;
    void connectControl(const Control& control, QWidget* widget);
    void setTabOrderFromTable();
    void focusFirstControl();
    void showCaret(const Control& field, QLineEdit* edit);
    void forwardFocus(QObject* watched, QEvent* event);
    bool forwardClick(QObject* watched, QEvent* event);
    bool keepsSelectionOnEntry(QObject* watched, QEvent* event);

    DialogModel& m_model;
    EventGate& m_gate;
    TwipScale m_scale;
    QHash<QString, QWidget*> m_widgets;
    QList<QWidget*> m_tabOrder;
    bool m_activated = false;
    // The time field was entered by a mouse press that has yet to arrive.
    bool m_fieldEnteredByMouse = false;
    // The text and caret each text field showed last, as the model held
    // them; the caret is set again only when the model's changed, so moving
    // it by hand survives other events.
    struct ShownCaret {
        QString text;
        int selStart = -1;
        int selLength = -1;
        friend bool operator==(const ShownCaret&, const ShownCaret&) = default;
    };
    QHash<QString, ShownCaret> m_carets;
};

} // namespace kpl
