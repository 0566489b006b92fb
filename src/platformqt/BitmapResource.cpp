#include "platformqt/BitmapResource.h"

#include "platform/Dib.h"
#include "platform/Resources.h"

namespace platform {

QImage loadBitmapImage(int bitmapId)
{
    Resource found = findResource(RT_BITMAP, bitmapId);
    auto pixels = decodeDib(found.data, found.size);
    if (!pixels || pixels->width <= 0 || pixels->height <= 0)
        return {};
    QImage image(pixels->width, pixels->height, QImage::Format_RGB32);
    for (int y = 0; y < pixels->height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < pixels->width; ++x)
            row[x] = 0xFF000000u | pixels->rgb[static_cast<std::size_t>(y * pixels->width + x)];
    }
    return image;
}

} // namespace platform
