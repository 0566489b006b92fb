#include "CPB/EventIconImages.h"

#include "CPB/MemoryMap.h"

#include <QPainter>

namespace {
const EventIconImages* source = nullptr;
}

const EventIconImages* EventIconImages::installed() { return source; }

void EventIconImages::install(const EventIconImages* s) { source = s; }

namespace IconRendering {

QImage render24(const EventIconImages* icons, int number) { return render(icons, number, 24); }

QImage render(const EventIconImages* icons, int number, int size)
{
    QImage canvas(size, size, QImage::Format_RGB32);
    // The picture starts light everywhere, so only the icon's own pixels can become dots.
    canvas.fill(Qt::white);
    if (!icons)
        return canvas;
    QImage icon = size == 32 ? icons->image32(number) : icons->image24(number);
    if (icon.isNull())
        return canvas;
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, icon);
    return canvas;
}

namespace {
MonoBitmap blackDots(const QImage& image)
{
    MonoBitmap dots(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dots.set(x, y, (image.pixel(x, y) & 0xFFFFFF) == 0);
    return dots;
}
} // namespace

ByteVector deviceIcon32(const EventIconImages* icons, int number)
{
    return MemoryMap::encodeIcon32(blackDots(render(icons, number, 32)));
}

ByteVector deviceIcon24(const EventIconImages* icons, int number)
{
    return MemoryMap::encodeIcon24(blackDots(render(icons, number, 24)));
}

ByteVector bitImage(const QImage& image)
{
    ByteVector bytes(72, 0);
    for (int x = 0; x < 24 && x < image.width(); ++x)
        for (int y = 0; y < 24 && y < image.height(); ++y)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0)
                bytes[static_cast<std::size_t>(3 * x + y / 8)] |= static_cast<std::uint8_t>(0x80 >> (y % 8));
    // 3 starts a field code on the unit, never a picture byte.
    for (std::uint8_t& b : bytes)
        if (b == 3)
            b = 2;
    return bytes;
}

} // namespace IconRendering
