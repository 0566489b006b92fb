#pragma once
// The event icons as pictures, for the CPR Controller's screens and icon
// slots. The window side that owns the icon images installs a source; this
// folder only renders what it is given.
#include "CPB/CPBComm.h"

#include <QImage>

class EventIconImages {
public:
    virtual ~EventIconImages() = default;
    // Event icon `number` (0 to 96) drawn 24 x 24 pixels; a null image when
    // there is none. Pixels outside the icon's mask are transparent.
    virtual QImage image24(int number) const = 0;
    // The same drawn 32 x 32 pixels; a source without that size has none.
    virtual QImage image32(int) const { return {}; }

    // The source in use (not owned); none until one is installed.
    static const EventIconImages* installed();
    static void install(const EventIconImages* source);
};

namespace IconRendering {

// The icon drawn at (0, 0) on a new white 24 x 24 picture, its transparent
// pixels left white; nothing drawn when there is no such icon.
QImage render24(const EventIconImages* source, int number);
// The same on a white `size` x `size` picture from the icons of that size
// (24 or 32).
QImage render(const EventIconImages* source, int number, int size);
// The unit's icon slot bitmaps of an event icon: 128 bytes for the 32-pixel
// picture, 72 for the 24-pixel one, a pixel that is exactly black set.
ByteVector deviceIcon32(const EventIconImages* source, int number);
ByteVector deviceIcon24(const EventIconImages* source, int number);
// The printer bit image of a 24 x 24 picture: 24 columns from the left of
// three bytes each (dots 0-7 from the top in the first, the topmost dot in
// bit 7). A pixel that is exactly black is a dot; no byte is ever 3.
ByteVector bitImage(const QImage& image);

} // namespace IconRendering
