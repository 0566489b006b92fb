#include "platformqt/DialogUnits.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

namespace platform {

int screenDpiY()
{
    if (auto* screen = QGuiApplication::primaryScreen())
        return qRound(screen->logicalDotsPerInchY());
    return 96;
}

QFont templateFont(const QString& face, int pointSize, int weight, bool italic)
{
    QFont font(face);
    font.setPixelSize(std::max(1, MulDiv(pointSize, screenDpiY(), 72)));
    // Template weights run 100 to 900 as Qt's do; 0 means normal.
    font.setWeight(static_cast<QFont::Weight>(weight > 0 ? std::clamp(weight, 1, 1000) : 400));
    font.setItalic(italic);
    return font;
}

SIZE fontBaseUnits(const QFont& font)
{
    QFontMetrics metrics(font);
    int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return SIZE { (letters + 26) / 52, metrics.height() + metrics.leading() };
}

SIZE dialogBaseUnits(const QString& face, int pointSize)
{
    return fontBaseUnits(templateFont(face, pointSize));
}

SIZE systemDialogBaseUnits() { return fontBaseUnits(QGuiApplication::font()); }

RECT mapDialogRect(const RECT& units, SIZE baseUnits)
{
    return RECT { MulDiv(units.left, baseUnits.cx, 4), MulDiv(units.top, baseUnits.cy, 8),
                  MulDiv(units.right, baseUnits.cx, 4), MulDiv(units.bottom, baseUnits.cy, 8) };
}

} // namespace platform
