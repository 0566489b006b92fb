#include "session/ToolBarImages.h"

#include "session/AppCommands.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor ink(40, 40, 40);
const QColor paper(255, 255, 255);
const QColor accent(200, 30, 40);
const QColor steel(70, 110, 170);

void sheet(QPainter& p, int x, int y, int w, int h)
{
    p.setPen(ink);
    p.setBrush(paper);
    p.drawRect(x, y, w, h);
}

void draw(QPainter& p, int id)
{
    using namespace AppCommand;
    switch (id) {
    case NewSession: // a page with a red plus
        sheet(p, 2, 1, 10, 12);
        p.setPen(QPen(accent, 2));
        p.drawLine(11, 6, 11, 14);
        p.drawLine(7, 10, 15, 10);
        break;
    case NewCourse: // a calendar sheet
        sheet(p, 1, 2, 13, 11);
        p.fillRect(2, 3, 12, 3, accent);
        p.setPen(ink);
        for (int x = 3; x <= 12; x += 3)
            for (int y = 8; y <= 11; y += 3)
                p.drawPoint(x, y);
        break;
    case SessionView: // a window with tabs
        sheet(p, 1, 4, 14, 9);
        p.setBrush(steel);
        p.drawRect(1, 1, 4, 3);
        p.setBrush(paper);
        p.drawRect(6, 1, 4, 3);
        p.setPen(QPen(accent, 1));
        p.drawPolyline(QPolygon({QPoint(3, 10), QPoint(5, 7), QPoint(7, 11), QPoint(9, 6), QPoint(12, 9)}));
        break;
    case Surveillance: // four small graphs
        for (int i = 0; i < 4; ++i) {
            const int x = 1 + (i % 2) * 7, y = 1 + (i / 2) * 7;
            sheet(p, x, y, 6, 5);
            p.setPen(accent);
            p.drawLine(x + 1, y + 3, x + 3, y + 1);
            p.drawLine(x + 3, y + 1, x + 5, y + 3);
        }
        break;
    case Calibrate: // a dial with its needle at zero
        p.setPen(ink);
        p.setBrush(paper);
        p.drawEllipse(1, 1, 13, 13);
        p.setPen(QPen(accent, 2));
        p.drawLine(7, 8, 7, 3);
        p.setPen(ink);
        p.drawPoint(7, 8);
        break;
    case Metronome: { // the pyramid with its pendulum
        QPainterPath body;
        body.moveTo(4, 14);
        body.lineTo(7, 1);
        body.lineTo(9, 1);
        body.lineTo(12, 14);
        body.closeSubpath();
        p.setPen(ink);
        p.setBrush(QColor(150, 100, 50));
        p.drawPath(body);
        p.setPen(QPen(paper, 1));
        p.drawLine(8, 12, 11, 3);
        break;
    }
    case Print: // a printer with a sheet
        sheet(p, 4, 1, 8, 5);
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(1, 6, 14, 6);
        sheet(p, 4, 10, 8, 4);
        break;
    case About: // a question mark in a circle
        p.setPen(ink);
        p.setBrush(steel);
        p.drawEllipse(1, 0, 14, 14);
        p.setPen(paper);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 8, QFont::Bold));
        p.drawText(QRect(1, 0, 15, 15), Qt::AlignCenter, QStringLiteral("?"));
        break;
    default:
        break;
    }
}

} // namespace

QIcon toolBarImage(int commandId)
{
    QPixmap image(16, 15);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        draw(p, commandId);
    }
    return QIcon(image);
}
