#pragma once

#include "app/view/TwipScale.h"
#include "texts/Control.h"

class QWidget;

namespace kpl {

// Builds the widget of one control inside `parent`: the widget kind for the
// control's kind, its objectName the control's name.
QWidget* createControlWidget(const Control& control, QWidget* parent);

// Puts the control's widget where the layout table says, at `scale`: its
// position, size, font and picture.
void placeControl(const Control& control, QWidget* widget, const TwipScale& scale);

// Shows the control's current properties on its widget: caption, tooltip,
// enabled state, check box value, background colour and the text of a text
// field (its caret and selection are the window's business). Signals stay
// blocked, so showing raises no event.
void showControl(const Control& control, QWidget* widget);

} // namespace kpl
