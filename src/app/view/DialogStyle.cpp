#include "app/view/DialogStyle.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace kpl {

void applyDialogStyle(QApplication& app) {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        app.setStyle(style);
}

} // namespace kpl
