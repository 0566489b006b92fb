#include "session/LabelPictures.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

int haloWidth(const QFontMetrics& metrics) { return std::max(2, metrics.height() / 5); }

} // namespace

int labelHaloReach(const QFont& font)
{
    // Half the pen, and a pixel for the edge's antialiasing.
    return (haloWidth(QFontMetrics(font)) + 1) / 2 + 1;
}

void drawLabelDirectly(QPainter& painter, const QPoint& topLeft, const QString& text, const QFont& font,
                       const QColor& textColour, const QColor& haloColour)
{
    painter.save();
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font, painter.device());
    const QPen halo(haloColour, haloWidth(metrics), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPointF baseline(topLeft.x(), topLeft.y() + metrics.ascent());
    QPainterPath outline;
    outline.addText(baseline, font, text);
    painter.strokePath(outline, halo);
    painter.setPen(textColour);
    painter.drawText(baseline, text);
    painter.restore();
}

void LabelPictures::draw(QPainter& painter, const QPoint& topLeft, const QString& text, const QFont& font,
                         const QColor& textColour, const QColor& haloColour)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QString key = text + QChar(0x1F) + font.key() + QChar(0x1F) + QString::number(textColour.rgba(), 16)
        + QChar(0x1F) + QString::number(haloColour.rgba(), 16) + QChar(0x1F) + QString::number(ratio);
    auto found = pictures.constFind(key);
    if (found == pictures.constEnd()) {
        if (pictures.size() >= maxPictures)
            pictures.clear();
        const QFontMetrics metrics(font);
        const int reach = labelHaloReach(font);
        // The text box and whatever ink a glyph puts beyond it, with the halo around.
        const QRect ink = QRect(0, 0, metrics.horizontalAdvance(text), metrics.height())
                              .united(metrics.boundingRect(text).translated(0, metrics.ascent()))
                              .adjusted(-reach, -reach, reach, reach);
        Picture picture;
        picture.offset = ink.topLeft();
        picture.image = QImage(QSize(static_cast<int>(std::ceil(ink.width() * ratio)),
                                     static_cast<int>(std::ceil(ink.height() * ratio))),
                               QImage::Format_ARGB32_Premultiplied);
        picture.image.setDevicePixelRatio(ratio);
        picture.image.fill(Qt::transparent);
        QPainter onPicture(&picture.image);
        drawLabelDirectly(onPicture, -ink.topLeft(), text, font, textColour, haloColour);
        onPicture.end();
        found = pictures.insert(key, picture);
    }
    painter.drawImage(topLeft + found->offset, found->image);
}

LabelPictures& LabelPictures::shared()
{
    static LabelPictures pictures;
    return pictures;
}
