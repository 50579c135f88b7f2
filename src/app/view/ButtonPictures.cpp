#include "app/view/ButtonPictures.h"

#include <QPainter>
#include <QPainterPath>

#include <initializer_list>

namespace kpl {

namespace {

// A picture is drawn in the pixel coordinates of its design size.
struct Picture {
    const char* name;
    QSizeF designSize;
    void (*draw)(QPainter&);
};

QPainterPath polygon(std::initializer_list<QPointF> corners) {
    QPainterPath path;
    path.addPolygon(QPolygonF(corners));
    path.closeSubpath();
    return path;
}

QPainterPath line(QPointF from, QPointF to) {
    QPainterPath path(from);
    path.lineTo(to);
    return path;
}

// A filled shape with a darker rim whose corners are rounded.
void drawRimmed(QPainter& painter, const QPainterPath& shape, QColor fill, QColor rim) {
    painter.setPen(QPen(rim, 1.5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(shape);
}

// Help mode: a question mark with a small arrow pointing to the lower left.
void drawQuest(QPainter& painter) {
    QPainterPath hook(QPointF(16, 13));
    hook.cubicTo(16, 6, 21, 3, 26, 3);
    hook.cubicTo(32, 3, 36, 7, 36, 12);
    hook.cubicTo(36, 17, 33, 19, 30, 21);
    hook.cubicTo(28, 22.5, 27, 24, 27, 27);
    hook.lineTo(27, 29);
    painter.strokePath(hook, QPen(Qt::black, 5, Qt::SolidLine, Qt::SquareCap));
    painter.fillRect(QRectF(24.5, 33, 5, 5), Qt::black);
    painter.strokePath(line({17, 29}, {5, 41}), QPen(Qt::black, 2.5, Qt::SolidLine, Qt::FlatCap));
    painter.fillPath(polygon({{3, 43}, {3, 33}, {13, 43}}), Qt::black);
}

// Confirm: a green tick.
void drawOk(QPainter& painter) {
    drawRimmed(painter, polygon({{3, 19}, {9, 13}, {17, 21}, {35, 3}, {41, 9}, {17, 33}}),
               QColor(0x00, 0xa0, 0x00), QColor(0x00, 0x50, 0x00));
}

// Cancel: a red cross.
void drawCancel(QPainter& painter) {
    drawRimmed(painter,
               polygon({{4, 9}, {9, 4}, {18.5, 13.5}, {28, 4}, {33, 9}, {23.5, 19.5}, {33, 30},
                        {28, 35}, {18.5, 25.5}, {9, 35}, {4, 30}, {13.5, 19.5}}),
               QColor(0xe0, 0x00, 0x00), QColor(0x80, 0x00, 0x00));
}

constexpr Picture kPictures[] = {
    {"quest", {41, 45}, drawQuest},
    {"ok", {44, 36}, drawOk},
    {"cancel", {37, 39}, drawCancel},
};

} // namespace

QPixmap buttonPicture(const QString& name, const QSize& size, qreal pixelRatio) {
    for (const Picture& picture : kPictures) {
        if (name != QLatin1String(picture.name))
            continue;
        QPixmap pixmap(size * pixelRatio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(pixmap.width() / picture.designSize.width(),
                      pixmap.height() / picture.designSize.height());
        picture.draw(painter);
        painter.end();
        pixmap.setDevicePixelRatio(pixelRatio);
        return pixmap;
    }
    return {};
}

} // namespace kpl
