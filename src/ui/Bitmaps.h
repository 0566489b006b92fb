#pragma once
// Bitmap resources as images: loaded as they are, or with their black, greys
// and white mapped to the palette's button colours so that they match the
// user's colour scheme.
#include "platformqt/BitmapResource.h"

#include <QImage>
#include <QPalette>
#include <QPixmap>

// Black becomes the button text colour, dark grey (0x808080) the shadow,
// light grey (0xC0C0C0) the button face and white the highlight; other
// colours stay.
QImage mapButtonColours(const QImage& image, const QPalette& palette);
QPixmap createMappedBitmap(int bitmapId, const QPalette& palette);

// The image with every pixel of the colour (0x00RRGGBB) made transparent.
QImage withTransparentColour(const QImage& image, QRgb colour);
