#pragma once
// Bitmap resources as images.
#include <QImage>

namespace platform {

// The bitmap resource; a null image when there is none or it cannot be read.
QImage loadBitmapImage(int bitmapId);

} // namespace platform
