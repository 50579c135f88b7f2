#pragma once

#include "texts/Control.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace kpl {

// The dialog itself: its name, design-time caption, client area in twips and
// background colour.
struct FormLayout {
    QString name;
    QString caption;
    int clientWidth = 0;
    int clientHeight = 0;
    Rgb backColor;
};

// The dialog's fixed layout: the form and its controls in the order of the
// control collection (containers before the controls inside them).
struct DialogLayout {
    FormLayout form;
    QList<Control> controls;
};

// Reads a layout table in its JSON form. Controls take the form's background
// colour and the default font unless the table names their own.
DialogLayout parseDialogLayout(const QByteArray& json);

// The layout of the presets dialog, built into the program.
DialogLayout presetsDialogLayout();

} // namespace kpl
