#pragma once

#include <QFont>

class QApplication;

namespace kpl {

// The look the dialog was designed for: the classic 3D widget style and a
// sans-serif font with the metrics of the designer's "MS Sans Serif" (the
// fixed layout depends on them).
void applyDialogStyle(QApplication& app);

// The font of the message boxes: the typeface of the dialog's controls at the
// system's size.
QFont messageBoxFont();

} // namespace kpl
