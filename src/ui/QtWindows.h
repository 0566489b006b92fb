#pragma once
// The window layer on Qt widgets: a window handle is a QWidget.
#include "ui/WindowLayer.h"

#include <QRect>

class QWidget;

WindowHandle handleOf(QWidget* widget);
QWidget* widgetOf(WindowHandle window);

inline RECT toRECT(const QRect& r) { return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
inline QRect toQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
