#include "app/view/DialogStyle.h"

#include <QApplication>
#include <QStyleFactory>

namespace kpl {

namespace {
const QString kDesignFamily = QStringLiteral("MS Sans Serif");
}

void applyDialogStyle(QApplication& app) {
    QFont::insertSubstitutions(kDesignFamily,
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        app.setStyle(style);
}

QFont messageBoxFont() {
    QFont font(kDesignFamily);
    font.setPointSizeF(QApplication::font().pointSizeF());
    font.setBold(true);
    return font;
}

} // namespace kpl
