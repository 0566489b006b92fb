#include "ui/Bitmaps.h"


QImage mapButtonColours(const QImage& image, const QPalette& palette)
{
    QImage mapped = image.convertToFormat(QImage::Format_RGB32);
    const QRgb text = palette.color(QPalette::ButtonText).rgb();
    const QRgb shadow = palette.color(QPalette::Dark).rgb();
    const QRgb face = palette.color(QPalette::Button).rgb();
    const QRgb highlight = palette.color(QPalette::Light).rgb();
    for (int y = 0; y < mapped.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(mapped.scanLine(y));
        for (int x = 0; x < mapped.width(); ++x) {
            switch (row[x] & 0xFFFFFFu) {
            case 0x000000: row[x] = text; break;
            case 0x808080: row[x] = shadow; break;
            case 0xC0C0C0: row[x] = face; break;
            case 0xFFFFFF: row[x] = highlight; break;
            default: break;
            }
        }
    }
    return mapped;
}

QPixmap createMappedBitmap(int bitmapId, const QPalette& palette)
{
    QImage image = platform::loadBitmapImage(bitmapId);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(mapButtonColours(image, palette));
}

QImage withTransparentColour(const QImage& image, QRgb colour)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((row[x] & 0xFFFFFFu) == (colour & 0xFFFFFFu))
                row[x] = 0;
    }
    return result;
}
