#include "app/view/ControlWidgets.h"

#include "app/view/ButtonPictures.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace kpl {

namespace {

QColor toColor(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont toFont(const ControlFont& wanted) {
    QFont font(wanted.family);
    font.setPointSizeF(wanted.pointSize);
    font.setBold(wanted.bold);
    return font;
}

// A check box that answers on its whole rectangle, not only on its box and
// caption: a click right of the caption toggles it (or, in help mode, shows
// its own information text rather than the frame's).
class CheckBoxOnItsRectangle : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

QWidget* createPictureButton(const Control& control, QWidget* parent, const TwipScale& scale) {
    auto* button = new QPushButton(parent);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    if (!control.picture.isEmpty()) {
        const QSize size(scale.scaled(control.pictureWidth), scale.scaled(control.pictureHeight));
        button->setIcon(QIcon(buttonPicture(control.picture, size, parent->devicePixelRatioF())));
        button->setIconSize(size);
    }
    return button;
}

QWidget* createFrame(QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken); // etched line
    return frame;
}

QWidget* createLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget* createWidgetOfKind(const Control& control, QWidget* parent, const TwipScale& scale) {
    const QString kind = control.kind.toUpper();
    if (kind == QLatin1String("LABEL"))
        return createLabel(parent);
    if (kind == QLatin1String("CHECKBOX"))
        return new CheckBoxOnItsRectangle(parent);
    if (kind == QLatin1String("TEXTBOX"))
        return new QLineEdit(parent);
    if (kind == QLatin1String("COMMANDBUTTON"))
        return createPictureButton(control, parent, scale);
    return createFrame(parent);
}

// The colour goes to the role the widget fills its background with (the
// base of a text field, the button face of buttons and check boxes).
void showBackColor(const Control& control, QWidget* widget) {
    const QColor color = toColor(control.backColor);
    const QPalette::ColorRole role = widget->backgroundRole();
    if (widget->palette().color(role) == color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

QWidget* createControlWidget(const Control& control, QWidget* parent, const TwipScale& scale) {
    QWidget* widget = createWidgetOfKind(control, parent, scale);
    widget->setObjectName(control.name);
    widget->setGeometry(scale.pixels(control.left), scale.pixels(control.top),
                        scale.pixels(control.width), scale.pixels(control.height));
    widget->setFont(toFont(control.font));
    widget->setAutoFillBackground(true);
    return widget;
}

void showControl(const Control& control, QWidget* widget) {
    const QSignalBlocker blocker(widget);
    widget->setToolTip(control.toolTip);
    widget->setEnabled(control.enabled);
    showBackColor(control, widget);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(control.caption);
    else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->setText(control.caption);
        box->setChecked(control.value == 1);
    } else if (auto* button = qobject_cast<QPushButton*>(widget))
        button->setText(control.caption);
    else if (auto* field = qobject_cast<QLineEdit*>(widget); field && field->text() != control.text)
        field->setText(control.text);
}

} // namespace kpl
