#include "Utillib/DrawUtil.h"

#include "Utillib/FileUtil.h"
#include "Utillib/LogStream.h"
#include "platform/Dib.h"
#include "platform/Resources.h"

#include <QImage>
#include <QPainter>
#include <cerrno>

namespace Utillib {

COLORREF toColorRef(unsigned int rgb)
{
    return COLORREF(qRed(rgb)) | (COLORREF(qGreen(rgb)) << 8) | (COLORREF(qBlue(rgb)) << 16);
}

unsigned int fromColorRef(COLORREF colour) { return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

bool showDib(QPainter& painter, int bitmapId, int x, int y, int width, int height, int sourceX, int sourceY,
             int sourceWidth, int sourceHeight)
{
    platform::Resource found = platform::findResource(platform::RT_BITMAP, bitmapId);
    auto pixels = platform::decodeDib(found.data, found.size);
    if (!pixels) {
        LogStream::instance() << "Utillib::showDib(..) resource error" << LogStream::endl;
        return false;
    }
    if (!painter.isActive()) {
        LogStream::instance() << "Util::showDib(..) StretchDIBits bits error: " << systemErrorText(EINVAL)
                              << LogStream::endl;
        return false;
    }
    QImage image(reinterpret_cast<const uchar*>(pixels->rgb.data()), pixels->width, pixels->height,
                 pixels->width * 4, QImage::Format_RGB32);
    painter.save();
    // Colour on colour: no smoothing of stretched pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(x, y, width, height), image, QRect(sourceX, sourceY, sourceWidth, sourceHeight));
    painter.restore();
    return true;
}

bool showDib(QPainter& painter, int bitmapId, const RECT& destination, const RECT& source)
{
    return showDib(painter, bitmapId, destination.left, destination.top, destination.right - destination.left,
                   destination.bottom - destination.top, source.left, source.top, source.right - source.left,
                   source.bottom - source.top);
}

void drawRectangle(QPainter& painter, int left, int top, int right, int bottom, COLORREF colour)
{
    QColor qColour = QColor::fromRgb(fromColorRef(colour));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (right - left < 3 || bottom - top < 3) {
        QPen pen(qColour);
        pen.setWidth(0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QPoint corners[] = { { left, top }, { right, top }, { right, bottom }, { left, bottom }, { left, top } };
        painter.drawPolyline(corners, 5);
    } else {
        painter.fillRect(QRect(left, top, right - left, bottom - top), qColour);
    }
    painter.restore();
}

void drawBitmapScaled(QPainter& painter, const QImage& bitmap, COLORREF transparent, int x, int y, int width,
                      int height, int sourceX, int sourceY, int sourceWidth, int sourceHeight)
{
    if (sourceWidth <= 0 || sourceHeight <= 0)
        return;
    double scaleX = double(width) / sourceWidth;
    double scaleY = double(height) / sourceHeight;
    int cellWidth = static_cast<int>(scaleX + 0.5);
    int cellHeight = static_cast<int>(scaleY + 0.5);
    QRect inside = bitmap.rect().intersected(QRect(sourceX, sourceY, sourceWidth, sourceHeight));
    for (int row = inside.top(); row <= inside.bottom(); ++row) {
        for (int column = inside.left(); column <= inside.right(); ++column) {
            COLORREF colour = toColorRef(bitmap.pixel(column, row));
            if (colour == transparent)
                continue;
            // Measured from the source rectangle's corner, so that it lands on the destination's.
            int left = x + static_cast<int>((column - sourceX) * scaleX);
            int top = y + static_cast<int>((row - sourceY) * scaleY);
            drawRectangle(painter, left, top, left + cellWidth, top + cellHeight, colour);
        }
    }
}

void drawTransparentBitmap(QPainter& painter, const QImage& bitmap, int x, int y, COLORREF transparent)
{
    QImage keyed = bitmap.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < keyed.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(row));
        for (int column = 0; column < keyed.width(); ++column)
            if (toColorRef(line[column]) == transparent)
                line[column] = 0;
    }
    painter.drawImage(QPoint(x, y), keyed);
}

} // namespace Utillib
