#include "platformqt/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace platform {

namespace {

QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // Two lobes and a point: a heart filling the square.
    QPainterPath heart;
    heart.moveTo(s * 0.5, s * 0.92);
    heart.cubicTo(s * 0.10, s * 0.62, s * 0.02, s * 0.40, s * 0.06, s * 0.26);
    heart.cubicTo(s * 0.12, s * 0.06, s * 0.40, s * 0.04, s * 0.5, s * 0.24);
    heart.cubicTo(s * 0.60, s * 0.04, s * 0.88, s * 0.06, s * 0.94, s * 0.26);
    heart.cubicTo(s * 0.98, s * 0.40, s * 0.90, s * 0.62, s * 0.5, s * 0.92);
    painter.fillPath(heart, QColor(200, 30, 40));
    const qreal bar = s * 0.12;
    painter.fillRect(QRectF(s * 0.5 - bar / 2, s * 0.30, bar, s * 0.38), Qt::white);
    painter.fillRect(QRectF(s * 0.31, s * 0.49 - bar / 2, s * 0.38, bar), Qt::white);
    return pixmap;
}

} // namespace

QIcon applicationIcon()
{
    static const QIcon icon = [] {
        QIcon made;
        for (int size : { 16, 24, 32, 48 })
            made.addPixmap(drawIcon(size));
        return made;
    }();
    return icon;
}

} // namespace platform
