#pragma once

#include <QSize>
#include <QtMath>

#include <algorithm>

namespace kpl {

// Twips (1/1440 inch) to the screen's pixels: 15 twips per pixel at 96 dpi,
// proportionally more pixels on a screen with more dots per inch. A zoom
// below 1 shrinks the whole layout, positions, sizes, fonts and pictures
// alike, for a screen too small for it.
struct TwipScale {
    double dpi = 96;
    double zoom = 1;

    int pixels(int twips) const { return qRound(twips * dpi * zoom / 1440.0); }
    // A size given in pixels at 96 dpi, on this screen.
    int scaled(int pixelsAt96) const { return qRound(pixelsAt96 * dpi * zoom / 96.0); }
    double points(double pointSize) const { return pointSize * zoom; }

    friend bool operator==(const TwipScale&, const TwipScale&) = default;
};

// The zoom at which a window whose client area is `client` at full size fits
// into `available` together with its frame (`frame`: what title bar and
// borders add, which do not shrink): 1 where it fits as it is, never more.
// A screen that cannot even hold the frame leaves the window at full size.
inline double zoomToFit(const QSize& client, const QSize& frame, const QSize& available) {
    const QSize room = available - frame;
    if (room.isEmpty() || client.isEmpty())
        return 1;
    return std::min(
        {1.0, double(room.width()) / client.width(), double(room.height()) / client.height()});
}

} // namespace kpl
