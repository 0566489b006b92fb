#include "splash/SplashWindow.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace splash {

QPixmap builtInPicture()
{
    QPixmap picture(411, 500);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 500);
    sky.setColorAt(0.0, QColor(18, 52, 96));
    sky.setColorAt(1.0, QColor(6, 20, 40));
    painter.fillRect(picture.rect(), sky);

    // A heart with a pulse line across it.
    QPainterPath heart;
    heart.moveTo(205, 250);
    heart.cubicTo(95, 175, 120, 80, 205, 120);
    heart.cubicTo(290, 80, 315, 175, 205, 250);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 30, 45));
    painter.drawPath(heart);

    QPen pulse(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pulse);
    const QPointF line[] = { { 60, 175 }, { 150, 175 }, { 170, 140 }, { 195, 215 },
                             { 220, 120 }, { 240, 175 }, { 350, 175 } };
    painter.drawPolyline(line, 7);

    painter.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(44);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, 275, 411, 60), Qt::AlignCenter, QStringLiteral("Tavo CPR"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(18);
    painter.setFont(subtitle);
    painter.drawText(QRect(0, 330, 411, 30), Qt::AlignCenter, QStringLiteral("Training station"));
    subtitle.setPixelSize(13);
    painter.setFont(subtitle);
    painter.setPen(QColor(170, 190, 215));
    painter.drawText(QRect(150, 460, 250, 24), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Starting..."));
    return picture;
}

} // namespace splash
