#include "Utillib/QtTextDevice.h"

#include "Utillib/GString.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QString fromAnsi(const std::string& text) { return QString::fromStdWString(GString::to_wstring(text)); }

} // namespace

int QtTextDevice::lineHeight()
{
    QFontMetrics metrics(painter.font(), painter.device());
    return metrics.ascent() + metrics.descent();
}

SIZE QtTextDevice::textExtent(const std::string& text)
{
    QFontMetrics metrics(painter.font(), painter.device());
    return SIZE { metrics.horizontalAdvance(fromAnsi(text)), metrics.ascent() + metrics.descent() };
}

void QtTextDevice::textOut(int x, int y, const std::string& text)
{
    QFontMetrics metrics(painter.font(), painter.device());
    painter.drawText(x, y + metrics.ascent(), fromAnsi(text));
}
