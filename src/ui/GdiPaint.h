#pragma once
// Small drawing helpers with the pixel rules the owner-drawn controls are
// written for: colours as 0x00BBGGRR, rectangles with exclusive right and
// bottom edges, 1-pixel pens, no antialiasing.
#include "platform/WinTypes.h"

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace ui {

inline QColor qColour(COLORREF c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
inline COLORREF colourRef(const QColor& c)
{
    return COLORREF(c.red()) | (COLORREF(c.green()) << 8) | (COLORREF(c.blue()) << 16);
}
inline COLORREF rgb(int r, int g, int b) { return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16); }

// The pixels left..right-1 by top..bottom-1 as a QRect.
inline QRect pixelRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// Outline in `pen`, inside filled with `brush`, covering exactly the pixels
// of the rectangle; nothing for an empty one.
void paintRectangle(QPainter& painter, const RECT& r, COLORREF pen, COLORREF brush);
void paintEllipse(QPainter& painter, const RECT& r, COLORREF pen, COLORREF brush);
// A dotted rectangle just inside r, as keyboard focus is shown.
void paintFocusRect(QPainter& painter, const RECT& r);
// The text as it fits `width` pixels in the painter's font: whole when its
// advance fits, else cut with an ellipsis.
QString fitText(QPainter& painter, const QString& text, int width);
// A raised (or sunken) 3-D frame just inside r.
void paintFrame3d(QPainter& painter, const RECT& r, COLORREF topLeft, COLORREF bottomRight);

} // namespace ui
