#pragma once

#include <QPixmap>

class QSize;
class QString;

namespace kpl {

// The picture of a picture button by its name in the layout table ("quest",
// "ok", "cancel"), stretched over `size` pixels of the layout and drawn at the
// screen's pixel ratio, so it stays sharp on high-density screens. A name
// without a picture gives a null pixmap.
QPixmap buttonPicture(const QString& name, const QSize& size, qreal pixelRatio);

} // namespace kpl
