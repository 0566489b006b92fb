#include "ui/GdiPaint.h"

#include <QPainter>

namespace ui {

namespace {
bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
QRect outlineRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1); }
} // namespace

void paintRectangle(QPainter& painter, const RECT& r, COLORREF pen, COLORREF brush)
{
    if (empty(r))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(qColour(pen), 0));
    painter.setBrush(qColour(brush));
    painter.drawRect(outlineRect(r));
    painter.restore();
}

void paintEllipse(QPainter& painter, const RECT& r, COLORREF pen, COLORREF brush)
{
    if (empty(r))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(qColour(pen), 0));
    painter.setBrush(qColour(brush));
    painter.drawEllipse(outlineRect(r));
    painter.restore();
}

QString fitText(QPainter& painter, const QString& text, int width)
{
    const QFontMetrics metrics = painter.fontMetrics();
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    return metrics.elidedText(text, Qt::ElideRight, width);
}

void paintFocusRect(QPainter& painter, const RECT& r)
{
    if (empty(r))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(Qt::black, 0, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outlineRect(r));
    painter.restore();
}

void paintFrame3d(QPainter& painter, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    if (empty(r))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    int right = r.right - 1;
    int bottom = r.bottom - 1;
    painter.setPen(QPen(qColour(topLeft), 0));
    painter.drawLine(r.left, r.top, right, r.top);
    painter.drawLine(r.left, r.top, r.left, bottom);
    painter.setPen(QPen(qColour(bottomRight), 0));
    painter.drawLine(r.left, bottom, right, bottom);
    painter.drawLine(right, r.top, right, bottom);
    painter.restore();
}

} // namespace ui
