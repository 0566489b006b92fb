#pragma once
// Drawing helpers on a painter (a window, an image or a printer page):
// bitmap resources, exact rectangles, bitmaps scaled pixel by pixel for
// printing, and bitmaps with a transparent colour.
#include "platform/WinTypes.h"

class QImage;
class QPainter;

namespace Utillib {

// Draws the source rectangle of the bitmap resource into the destination
// rectangle without smoothing; false, with a log line, when the resource is
// missing or not a bitmap we can read, or the painter cannot draw.
bool showDib(QPainter& painter, int bitmapId, int x, int y, int width, int height, int sourceX, int sourceY,
             int sourceWidth, int sourceHeight);
bool showDib(QPainter& painter, int bitmapId, const RECT& destination, const RECT& source);

// Fills exactly left..right by top..bottom (right and bottom exclusive) in
// the colour (0x00BBGGRR); a rectangle narrower or lower than 3 pixels is
// drawn as the outline through its four corners instead.
void drawRectangle(QPainter& painter, int left, int top, int right, int bottom, COLORREF colour);

// Every source pixel that is not the transparent colour becomes a rectangle
// of the scale's size in the destination.
void drawBitmapScaled(QPainter& painter, const QImage& bitmap, COLORREF transparent, int x, int y, int width,
                      int height, int sourceX, int sourceY, int sourceWidth, int sourceHeight);

// The whole bitmap at (x, y), leaving what is under its transparent pixels.
void drawTransparentBitmap(QPainter& painter, const QImage& bitmap, int x, int y, COLORREF transparent);

// A colour value as Qt has it and back.
COLORREF toColorRef(unsigned int rgb);
unsigned int fromColorRef(COLORREF colour);

} // namespace Utillib
