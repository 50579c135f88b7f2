#pragma once

#include <QtMath>

namespace kpl {

// Twips (1/1440 inch) to the screen's pixels: 15 twips per pixel at 96 dpi,
// proportionally more pixels on a screen with more dots per inch.
struct TwipScale {
    double dpi = 96;

    int pixels(int twips) const { return qRound(twips * dpi / 1440.0); }
    // A size given in pixels at 96 dpi, on this screen.
    int scaled(int pixelsAt96) const { return qRound(pixelsAt96 * dpi / 96.0); }
};

} // namespace kpl
