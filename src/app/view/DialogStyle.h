#pragma once

class QApplication;

namespace kpl {

// The look the dialog was designed for: the classic 3D widget style and a
// sans-serif font with the metrics of the designer's "MS Sans Serif" (the
// fixed layout depends on them).
void applyDialogStyle(QApplication& app);

} // namespace kpl
