#include "app/view/DialogWindow.h"

#include "app/ControlId.h"
#include "app/DialogModel.h"
#include "app/EventGate.h"
#include "app/view/ControlWidgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace kpl {

namespace {

using Handler = void (DialogModel::*)();

// Command buttons and the handlers their clicks go to.
Handler buttonClick(ControlId button) {
    switch (button) {
    case ControlId::CommandOK:
        return &DialogModel::CommandOK_Click;
    case ControlId::CommandCancel:
        return &DialogModel::CommandCancel_Click;
    case ControlId::CommandQuest:
        return &DialogModel::CommandQuest_Click;
    default:
        return nullptr;
    }
}

// Controls without a click signal of their own: a mouse release inside them
// is their click.
Handler mouseClick(ControlId control) {
    switch (control) {
    case ControlId::FrameDTI:
        return &DialogModel::FrameDTI_Click;
    case ControlId::LabelZeit:
        return &DialogModel::LabelZeit_Click;
    case ControlId::TextZeit:
        return &DialogModel::TextZeit_Click;
    default:
        return nullptr;
    }
}

bool isTimeField(const QObject* watched) {
    return watched->objectName() == controlName(ControlId::TextZeit);
}

// Focus that moves to a message box or another program and comes back is no
// focus change inside the dialog.
bool isWindowSwitch(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

} // namespace

DialogWindow::DialogWindow(DialogModel& model, EventGate& gate, QWidget* parent)
    : QWidget(parent, kFixedDialogFlags), m_model(model), m_gate(gate) {
    const FormLayout& form = model.form();
    setObjectName(form.name);
    QPalette background = palette();
    background.setColor(QPalette::Window,
                        QColor(form.backColor.red, form.backColor.green, form.backColor.blue));
    setPalette(background);
    setAutoFillBackground(true);
    buildControls();
    m_scale.dpi = logicalDpiX();
    placeControls();
    fitToScreen();
    setTabOrderFromTable();
    refresh();
}

void DialogWindow::load() {
    dispatch([&] { m_model.Form_Load(); });
}

template <class Handler> void DialogWindow::dispatch(Handler&& handler) {
    m_gate.dispatch(std::forward<Handler>(handler));
    if (m_gate.ended())
        hide();
    else
        refresh();
}

void DialogWindow::buildControls() {
    for (const Control& control : m_model.controls()) {
        QWidget* parent = m_widgets.value(control.container, this);
        QWidget* widget = createControlWidget(control, parent);
        m_widgets.insert(control.name, widget);
        connectControl(control, widget);
    }
}

void DialogWindow::placeControls() {
    const FormLayout& form = m_model.form();
    setFixedSize(m_scale.pixels(form.clientWidth), m_scale.pixels(form.clientHeight));
    for (const Control& control : m_model.controls())
        placeControl(control, m_widgets.value(control.name), m_scale);
}

// The layout is fixed, but a screen too small for it (a high display scale
// on a small screen) would leave buttons out of reach: there the whole
// layout shrinks, as far as the window and its frame need to fit the
// screen's available area and no further.
void DialogWindow::fitToScreen() {
    const FormLayout& form = m_model.form();
    const TwipScale full{double(logicalDpiX())};
    const QSize client(full.pixels(form.clientWidth), full.pixels(form.clientHeight));
    const TwipScale fitting{full.dpi,
                            zoomToFit(client, frameExtent(), screen()->availableGeometry().size())};
    if (fitting == m_scale)
        return;
    m_scale = fitting;
    placeControls();
}

// What title bar and borders add to the window's size: as the window system
// reports them once it has framed the window, until then as the style draws
// them.
QSize DialogWindow::frameExtent() const {
    const QSize reported = frameGeometry().size() - size();
    if (!reported.isNull())
        return reported;
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return {2 * border, titleBar + 2 * border};
}

void DialogWindow::keepFrameOnScreen() {
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (available.contains(frame))
        return;
    move(std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width())),
         std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height())));
}

void DialogWindow::followScreen() {
    fitToScreen();
    keepFrameOnScreen();
}

void DialogWindow::connectControl(const Control& control, QWidget* widget) {
    const std::optional<ControlId> known = controlId(control.name);
    if (!known)
        return;
    const ControlId id = *known;
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        const Handler handler = buttonClick(id);
        if (handler)
            connect(button, &QPushButton::clicked, this, [this, handler] {
                dispatch([this, handler] { std::invoke(handler, m_model); });
            });
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        connect(box, &QCheckBox::clicked, this, [this, id](bool checked) {
            dispatch([this, id, checked] { m_model.setValue(id, checked ? 1 : 0); });
        });
    } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        connect(field, &QLineEdit::textEdited, this, [this, id](const QString& text) {
            dispatch([this, id, &text] { m_model.setText(id, text); });
        });
    }
    if (mouseClick(id))
        widget->installEventFilter(this);
}

void DialogWindow::setTabOrderFromTable() {
    QList<const Control*> byTabIndex;
    for (const Control& control : m_model.controls())
        byTabIndex.append(&control);
    std::stable_sort(byTabIndex.begin(), byTabIndex.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    for (const Control* control : byTabIndex) {
        QWidget* widget = m_widgets.value(control->name);
        if (widget->focusPolicy() & Qt::TabFocus)
            m_tabOrder.append(widget);
    }
    for (qsizetype i = 1; i < m_tabOrder.size(); ++i)
        setTabOrder(m_tabOrder[i - 1], m_tabOrder[i]);
}

void DialogWindow::focusFirstControl() {
    if (focusWidget())
        return;
    const auto first = std::find_if(m_tabOrder.cbegin(), m_tabOrder.cend(),
                                    [](const QWidget* widget) { return widget->isEnabled(); });
    if (first != m_tabOrder.cend())
        (*first)->setFocus(Qt::TabFocusReason);
}

void DialogWindow::refresh() {
    setWindowTitle(m_model.caption());
    for (const Control& control : m_model.controls()) {
        QWidget* widget = m_widgets.value(control.name);
        showControl(control, widget);
        if (auto* field = qobject_cast<QLineEdit*>(widget))
            showCaret(control, field);
    }
}

void DialogWindow::showCaret(const Control& field, QLineEdit* edit) {
    const ShownCaret now{field.text, field.selStart, field.selLength};
    if (m_carets.value(field.name) == now)
        return;
    m_carets.insert(field.name, now);
    const QSignalBlocker blocker(edit);
    if (field.selLength > 0)
        edit->setSelection(field.selStart, field.selLength);
    else
        edit->setCursorPosition(field.selStart);
}

bool DialogWindow::event(QEvent* event) {
    // The dialog's activate event comes once, when it is first shown; coming
    // back from a message box or another program is no activation of it.
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        dispatch([&] { m_model.Form_Activate(); });
    }
    return QWidget::event(event);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    forwardFocus(watched, event);
    if (keepsSelectionOnEntry(watched, event))
        return true;
    if (forwardClick(watched, event))
        return !isTimeField(watched); // the field still handles its clicks
    return QWidget::eventFilter(watched, event);
}

void DialogWindow::forwardFocus(QObject* watched, QEvent* event) {
    if (!isTimeField(watched) ||
        (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut))
        return;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (isWindowSwitch(reason))
        return;
    m_fieldEnteredByMouse = event->type() == QEvent::FocusIn && reason == Qt::MouseFocusReason;
    if (event->type() == QEvent::FocusIn)
        dispatch([&] { m_model.TextZeit_GotFocus(); });
    else
        dispatch([&] { m_model.TextZeit_LostFocus(); });
}

// Entering the time field selects all of its text, also when a click entered
// it: the press that gave the focus does not go on to put the caret where it
// fell. Clicks into the field once it has the focus place the caret.
bool DialogWindow::keepsSelectionOnEntry(QObject* watched, QEvent* event) {
    if (!m_fieldEnteredByMouse || !isTimeField(watched) ||
        event->type() != QEvent::MouseButtonPress)
        return false;
    m_fieldEnteredByMouse = false;
    return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
}

bool DialogWindow::forwardClick(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = static_cast<QWidget*>(watched);
    const std::optional<ControlId> id = controlId(watched->objectName());
    const Handler handler = id ? mouseClick(*id) : nullptr;
    if (!handler || mouse->button() != Qt::LeftButton ||
        !widget->rect().contains(mouse->position().toPoint()))
        return false;
    dispatch([this, handler] { std::invoke(handler, m_model); });
    return true;
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    if (m_gate.ended()) {
        event->accept();
        return;
    }
    bool cancel = true;
    dispatch([&] { m_model.Form_QueryUnload(cancel); });
    event->setAccepted(!cancel);
}

// The window system frames the window after it is shown and reports the
// frame's size with the move that follows.
void DialogWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    fitToScreen();
}

void DialogWindow::resizeEvent(QResizeEvent* event) {
    dispatch([&] { m_model.Form_Resize(); });
    QWidget::resizeEvent(event);
}

void DialogWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    followScreen();
    connect(windowHandle(), &QWindow::screenChanged, this, &DialogWindow::followScreen,
            Qt::UniqueConnection);
    focusFirstControl();
}

} // namespace kpl
