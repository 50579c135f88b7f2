#pragma once

#include <QString>
#include <optional>

namespace kpl {

// A colour as the dialog's layout names it: red, green and blue, 0 to 255.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct ControlFont {
    QString family;
    double pointSize = 8;
    bool bold = false;
};

// One control of the dialog's control collection: its design-time properties
// from the layout table and the properties that change while the program
// runs. The control texts, the dialog model and the view all work on this
// record, so a control behaves the same with or without a window.
struct Control {
    // Design time. `kind` is the control's type name ("Label", "Frame",
    // "CheckBox", "TextBox", "CommandButton"); `container` is the name of the
    // frame it lies in, or "" for the dialog itself. Positions and sizes are
    // twips relative to the container.
    QString name;
    QString kind;
    QString container;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int tabIndex = 0;
    int helpId = 0; // the help text number (WhatsThisHelpID), 0 = none
    ControlFont font;
    QString tag;
    std::optional<int> index; // set for members of a control array
    QString picture;          // name of a picture button's picture ("quest", "ok", "cancel")
    int pictureWidth = 0;     // pixels at 96 dpi
    int pictureHeight = 0;

    // Run time; the layout table gives the starting values.
    QString caption;
    QString toolTip;
    QString text;
    int value = 0; // check boxes: 0 cleared, 1 checked
    bool enabled = true;
    Rgb backColor;
    int selStart = 0;
    int selLength = 0;
};

} // namespace kpl
