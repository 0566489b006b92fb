#include "Pictograms.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

// Draws in design units (0 to 32 across and down) into one cell.
class Canvas {
public:
    Canvas(QPainter& painter, QRectF cell, QColor inkColour, bool colour)
        : p(painter)
        , cell(cell)
        , inkColour(inkColour)
        , colour(colour)
    {
        sx = cell.width() / 32.0;
        sy = cell.height() / 32.0;
        ink();
    }

    // Following strokes and fills in the ink or in an accent colour.
    void ink() { current = inkColour; }
    bool coloured() const { return colour; }
    void accent(QRgb rgb) { current = colour ? QColor(rgb) : inkColour; }

    void line(double x1, double y1, double x2, double y2, double w = 2)
    {
        p.setPen(pen(w));
        p.drawLine(at(x1, y1), at(x2, y2));
    }
    void polyline(std::initializer_list<double> xy, double w = 2)
    {
        p.setPen(pen(w));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(points(xy));
    }
    void shape(std::initializer_list<double> xy, bool filled = true, double w = 2)
    {
        p.setPen(pen(w));
        p.setBrush(filled ? QBrush(current) : QBrush(Qt::NoBrush));
        p.drawPolygon(points(xy));
    }
    void circle(double cx, double cy, double r, bool filled = false, double w = 2)
    {
        p.setPen(pen(w));
        p.setBrush(filled ? QBrush(current) : QBrush(Qt::NoBrush));
        p.drawEllipse(QRectF(at(cx - r, cy - r), at(cx + r, cy + r)));
    }
    void rect(double x, double y, double w, double h, bool filled = false, double width = 2)
    {
        p.setPen(pen(width));
        p.setBrush(filled ? QBrush(current) : QBrush(Qt::NoBrush));
        p.drawRect(QRectF(at(x, y), at(x + w, y + h)));
    }
    void arc(double cx, double cy, double r, double startDegrees, double spanDegrees, double w = 2)
    {
        p.setPen(pen(w));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(at(cx - r, cy - r), at(cx + r, cy + r)), int(startDegrees * 16), int(spanDegrees * 16));
    }
    void text(const QString& s, double size = 26)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        font.setPixelSize(std::max(6, int(std::lround(size * sy))));
        p.setFont(font);
        p.setPen(current);
        p.drawText(cell, Qt::AlignCenter, s);
    }

private:
    QPen pen(double w) const
    {
        QPen made(current, std::max(1.0, std::floor(w * std::min(sx, sy) + 0.25)));
        made.setCapStyle(Qt::FlatCap);
        made.setJoinStyle(Qt::MiterJoin);
        return made;
    }
    QPointF at(double x, double y) const { return QPointF(cell.left() + x * sx, cell.top() + y * sy); }
    QPolygonF points(std::initializer_list<double> xy) const
    {
        QPolygonF polygon;
        for (auto it = xy.begin(); it != xy.end() && it + 1 != xy.end(); it += 2)
            polygon << at(*it, *(it + 1));
        return polygon;
    }

    QPainter& p;
    QRectF cell;
    QColor inkColour;
    QColor current;
    bool colour;
    double sx = 1;
    double sy = 1;
};

namespace {

constexpr QRgb red = 0xC00000;
constexpr QRgb blue = 0x0050C0;
constexpr QRgb green = 0x008000;
constexpr QRgb amber = 0xE0A000;

void person(Canvas& c, double x, double scale = 1)
{
    c.circle(x, 7 * scale + (1 - scale) * 10, 4 * scale, true);
    c.shape({ x - 6 * scale, 30, x - 6 * scale, 14 * scale + (1 - scale) * 16, x + 6 * scale,
              14 * scale + (1 - scale) * 16, x + 6 * scale, 30 });
}

void heart(Canvas& c, bool filled)
{
    c.shape({ 16, 29, 3, 15, 2, 9, 5, 5, 10, 4, 16, 9, 22, 4, 27, 5, 30, 9, 29, 15 }, filled);
}

void arrow(Canvas& c, double angle)
{
    // An arrow pointing at `angle` degrees (0 right, 90 down).
    double a = angle * M_PI / 180.0;
    auto rot = [&](double x, double y, double& ox, double& oy) {
        ox = 16 + x * std::cos(a) - y * std::sin(a);
        oy = 16 + x * std::sin(a) + y * std::cos(a);
    };
    double x[7], y[7];
    const double px[7] = { -12, 2, 2, 13, 2, 2, -12 };
    const double py[7] = { -4, -4, -11, 0, 11, 4, 4 };
    for (int i = 0; i < 7; ++i)
        rot(px[i], py[i], x[i], y[i]);
    c.shape({ x[0], y[0], x[1], y[1], x[2], y[2], x[3], y[3], x[4], y[4], x[5], y[5], x[6], y[6] });
}

std::vector<Pictogram> makeIcons()
{
    std::vector<Pictogram> icons = {
        { "phone", [](Canvas& c) {
              c.shape({ 4, 10, 9, 4, 13, 9, 10, 13, 19, 22, 23, 19, 28, 23, 22, 28, 14, 25, 7, 18 });
          } },
        { "shake and shout", [](Canvas& c) {
              c.circle(12, 16, 8, true);
              c.arc(16, 16, 12, -40, 80);
              c.arc(16, 16, 16, -40, 80);
              c.line(4, 28, 20, 28);
          } },
        { "pulse", [](Canvas& c) {
              c.accent(red);
              heart(c, false);
              c.ink();
              c.polyline({ 2, 17, 10, 17, 13, 10, 17, 24, 20, 14, 22, 17, 30, 17 });
          } },
        { "clear airway", [](Canvas& c) {
              c.circle(16, 16, 13);
              c.shape({ 9, 18, 23, 18, 16, 25 });
              c.line(16, 4, 16, 14, 3);
          } },
        { "check breathing", [](Canvas& c) {
              c.accent(blue);
              c.shape({ 14, 8, 14, 26, 5, 28, 3, 20, 6, 10 });
              c.shape({ 18, 8, 18, 26, 27, 28, 29, 20, 26, 10 });
              c.ink();
              c.line(16, 2, 16, 16, 3);
          } },
        { "head tilt", [](Canvas& c) {
              c.circle(12, 18, 9, true);
              c.shape({ 18, 10, 28, 6, 22, 16 });
              c.arc(16, 16, 14, 100, 70);
          } },
        { "defibrillator", [](Canvas& c) {
              c.accent(red);
              heart(c, true);
              c.ink();
              c.shape({ 18, 6, 10, 17, 16, 17, 13, 27, 22, 14, 16, 14 });
          } },
        { "shock", [](Canvas& c) {
              c.accent(amber);
              c.shape({ 20, 2, 6, 18, 15, 18, 11, 30, 26, 12, 17, 12 });
          } },
        { "compressions", [](Canvas& c) {
              arrow(c, 90);
              c.rect(4, 28, 24, 3, true);
          } },
        { "ventilation", [](Canvas& c) {
              c.accent(blue);
              arrow(c, 0);
              c.ink();
              c.arc(26, 16, 6, 90, 180);
          } },
        { "bag and mask", [](Canvas& c) {
              c.circle(11, 16, 8);
              c.rect(19, 13, 5, 6, true);
              c.shape({ 24, 9, 30, 9, 30, 23, 24, 23 });
          } },
        { "oxygen", [](Canvas& c) {
              c.accent(green);
              c.text(QStringLiteral("O\u2082"), 20);
          } },
        { "syringe", [](Canvas& c) {
              c.shape({ 6, 22, 20, 8, 25, 13, 11, 27 }, false);
              c.line(22, 6, 27, 11, 2);
              c.line(25, 3, 30, 8, 2);
              c.line(8, 24, 2, 30, 2);
          } },
        { "infusion", [](Canvas& c) {
              c.accent(blue);
              c.rect(9, 2, 14, 14, true);
              c.ink();
              c.rect(9, 2, 14, 14);
              c.line(16, 16, 16, 24);
              c.polyline({ 16, 24, 16, 28, 24, 30 });
          } },
        { "medication", [](Canvas& c) {
              c.shape({ 5, 17, 15, 7, 25, 17, 15, 27 }, false);
              c.accent(red);
              c.shape({ 5, 17, 10, 12, 20, 22, 15, 27 });
          } },
        { "recovery position", [](Canvas& c) {
              c.circle(6, 20, 4, true);
              c.shape({ 10, 18, 26, 18, 28, 26, 18, 22, 10, 24 });
              c.line(2, 29, 30, 29);
          } },
        { "stopwatch", [](Canvas& c) {
              c.circle(16, 18, 11);
              c.rect(13, 2, 6, 3, true);
              c.line(16, 18, 16, 10);
              c.line(16, 18, 21, 18);
          } },
        { "clock", [](Canvas& c) {
              c.circle(16, 16, 13);
              c.line(16, 16, 16, 7);
              c.line(16, 16, 23, 20);
          } },
        { "alarm", [](Canvas& c) {
              c.shape({ 6, 24, 9, 20, 9, 12, 13, 6, 19, 6, 23, 12, 23, 20, 26, 24 });
              c.circle(16, 27, 3, true);
          } },
        { "ambulance", [](Canvas& c) {
              c.rect(2, 9, 20, 15);
              c.shape({ 22, 13, 27, 13, 30, 18, 30, 24, 22, 24 });
              c.circle(8, 26, 3, true);
              c.circle(24, 26, 3, true);
              c.accent(red);
              c.rect(10, 12, 4, 10, true);
              c.rect(7, 15, 10, 4, true);
          } },
        { "hospital", [](Canvas& c) {
              c.rect(4, 4, 24, 26);
              c.text(QStringLiteral("H"), 20);
          } },
        { "person", [](Canvas& c) { person(c, 16); } },
        { "two persons", [](Canvas& c) {
              person(c, 9, 0.8);
              person(c, 23, 0.8);
          } },
        { "change rescuers", [](Canvas& c) {
              c.arc(16, 16, 11, 20, 140);
              c.shape({ 2, 15, 10, 15, 6, 21 });
              c.arc(16, 16, 11, 200, 140);
              c.shape({ 22, 17, 30, 17, 26, 11 });
          } },
        { "done", [](Canvas& c) {
              c.accent(green);
              c.polyline({ 4, 16, 12, 25, 28, 6 }, 4);
          } },
        { "wrong", [](Canvas& c) {
              c.accent(red);
              c.line(6, 6, 26, 26, 4);
              c.line(26, 6, 6, 26, 4);
          } },
        { "question", [](Canvas& c) { c.text(QStringLiteral("?")); } },
        { "attention", [](Canvas& c) { c.text(QStringLiteral("!")); } },
        { "information", [](Canvas& c) {
              c.circle(16, 16, 13);
              c.text(QStringLiteral("i"), 18);
          } },
        { "stop", [](Canvas& c) {
              c.accent(red);
              c.shape({ 10, 2, 22, 2, 30, 10, 30, 22, 22, 30, 10, 30, 2, 22, 2, 10 });
          } },
        { "start", [](Canvas& c) { c.shape({ 8, 4, 28, 16, 8, 28 }); } },
        { "pause", [](Canvas& c) {
              c.rect(7, 5, 6, 22, true);
              c.rect(19, 5, 6, 22, true);
          } },
        { "flag", [](Canvas& c) {
              c.line(7, 2, 7, 30, 3);
              c.accent(red);
              c.shape({ 8, 4, 27, 10, 8, 16 });
          } },
        { "star", [](Canvas& c) {
              c.accent(amber);
              c.shape({ 16, 2, 20, 12, 30, 12, 22, 19, 25, 29, 16, 23, 7, 29, 10, 19, 2, 12, 12, 12 });
          } },
        { "heart", [](Canvas& c) {
              c.accent(red);
              heart(c, true);
          } },
        { "heart outline", [](Canvas& c) { heart(c, false); } },
        { "temperature", [](Canvas& c) {
              c.rect(13, 3, 6, 18);
              c.accent(red);
              c.circle(16, 25, 5, true);
              c.rect(15, 12, 2, 10, true);
          } },
        { "bleeding", [](Canvas& c) {
              c.accent(red);
              c.shape({ 16, 2, 24, 16, 25, 22, 21, 28, 16, 30, 11, 28, 7, 22, 8, 16 });
          } },
        { "bandage", [](Canvas& c) {
              c.shape({ 3, 20, 20, 3, 29, 12, 12, 29 }, false);
              c.rect(13, 13, 6, 6, true);
          } },
        { "first-aid kit", [](Canvas& c) {
              c.rect(3, 9, 26, 20);
              c.rect(12, 5, 8, 4);
              c.accent(green);
              c.rect(14, 12, 4, 14, true);
              c.rect(9, 17, 14, 4, true);
          } },
        { "look", [](Canvas& c) {
              c.shape({ 2, 16, 9, 9, 16, 7, 23, 9, 30, 16, 23, 23, 16, 25, 9, 23 }, false);
              c.circle(16, 16, 5, true);
          } },
        { "listen", [](Canvas& c) {
              c.arc(16, 13, 9, -30, 240, 3);
              c.polyline({ 23, 18, 18, 24, 18, 29, 13, 29 }, 3);
          } },
        { "hand", [](Canvas& c) {
              c.shape({ 8, 30, 6, 16, 8, 14, 10, 18, 10, 5, 13, 5, 13, 15, 14, 3, 17, 3, 17, 15, 18, 5, 21, 5,
                        21, 16, 22, 8, 25, 8, 25, 22, 21, 30 });
          } },
        { "mobile phone", [](Canvas& c) {
              c.rect(9, 2, 14, 28);
              c.rect(11, 6, 10, 16, true);
              c.circle(16, 26, 1.5, true);
          } },
        { "loudspeaker", [](Canvas& c) {
              c.shape({ 3, 12, 9, 12, 17, 5, 17, 27, 9, 20, 3, 20 });
              c.arc(17, 16, 7, -50, 100);
              c.arc(17, 16, 12, -50, 100);
          } },
        { "idea", [](Canvas& c) {
              c.accent(amber);
              c.circle(16, 12, 9, true);
              c.ink();
              c.rect(12, 22, 8, 7, true);
          } },
        { "home", [](Canvas& c) {
              c.shape({ 2, 16, 16, 3, 30, 16 });
              c.rect(7, 16, 18, 14);
              c.rect(14, 22, 5, 8, true);
          } },
        { "car", [](Canvas& c) {
              c.shape({ 2, 22, 2, 15, 8, 15, 11, 8, 22, 8, 26, 15, 30, 16, 30, 22 });
              c.circle(9, 23, 3.5, true);
              c.circle(23, 23, 3.5, true);
          } },
        { "water", [](Canvas& c) {
              c.accent(blue);
              for (double y : { 9.0, 17.0, 25.0 })
                  c.polyline({ 2, y, 7, y - 3, 12, y, 17, y - 3, 22, y, 27, y - 3, 30, y - 1 });
          } },
        { "fire", [](Canvas& c) {
              c.accent(red);
              c.shape({ 16, 2, 24, 12, 26, 20, 22, 28, 16, 30, 10, 28, 6, 20, 10, 12, 12, 18 });
          } },
        { "electricity", [](Canvas& c) {
              c.shape({ 16, 2, 30, 29, 2, 29 }, false);
              c.shape({ 18, 9, 12, 19, 16, 19, 14, 26, 20, 16, 16, 16 });
          } },
        { "gloves", [](Canvas& c) {
              c.shape({ 9, 30, 7, 14, 9, 6, 12, 6, 12, 13, 14, 4, 17, 4, 17, 12, 19, 5, 22, 5, 22, 13, 25, 9, 27,
                        11, 23, 22, 21, 30 }, false);
              c.line(9, 24, 22, 24);
          } },
        { "face mask", [](Canvas& c) {
              c.shape({ 7, 11, 25, 11, 25, 21, 16, 26, 7, 21 });
              c.line(2, 9, 7, 13);
              c.line(30, 9, 25, 13);
          } },
        { "scissors", [](Canvas& c) {
              c.circle(8, 24, 5);
              c.circle(24, 24, 5);
              c.line(11, 20, 24, 3, 3);
              c.line(21, 20, 8, 3, 3);
          } },
        { "note", [](Canvas& c) {
              c.rect(5, 3, 18, 26);
              c.line(9, 10, 19, 10);
              c.line(9, 16, 19, 16);
              c.line(18, 28, 30, 12, 3);
          } },
        { "camera", [](Canvas& c) {
              c.rect(2, 9, 28, 19);
              c.rect(10, 5, 12, 4, true);
              c.circle(16, 18, 6);
          } },
        { "microphone", [](Canvas& c) {
              c.rect(12, 2, 8, 16, true);
              c.arc(16, 13, 9, 180, 180);
              c.line(16, 22, 16, 29);
              c.line(10, 29, 22, 29);
          } },
        { "arrow up", [](Canvas& c) { arrow(c, -90); } },
        { "arrow down", [](Canvas& c) { arrow(c, 90); } },
        { "arrow left", [](Canvas& c) { arrow(c, 180); } },
        { "arrow right", [](Canvas& c) { arrow(c, 0); } },
        { "circle", [](Canvas& c) { c.circle(16, 16, 12, true); } },
        { "square", [](Canvas& c) { c.rect(5, 5, 22, 22, true); } },
        { "triangle", [](Canvas& c) { c.shape({ 16, 3, 30, 28, 2, 28 }); } },
        { "diamond", [](Canvas& c) { c.shape({ 16, 2, 30, 16, 16, 30, 2, 16 }); } },
    };
    // Numbered and lettered markers for events of the instructor's own.
    static const char* digits[] = { "0", "1", "2", "3", "4", "5", "6", "7", "8", "9" };
    for (const char* digit : digits)
        icons.push_back({ digit, [digit](Canvas& c) {
                             c.rect(1, 1, 30, 30);
                             c.text(QString::fromLatin1(digit), 22);
                         } });
    static const char* letters[] = { "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K",
                                     "L", "M", "N", "O", "P", "Q", "R", "S", "T", "U" };
    for (const char* letter : letters)
        icons.push_back({ letter, [letter](Canvas& c) {
                             c.circle(16, 16, 14);
                             c.text(QString::fromLatin1(letter), 18);
                         } });
    icons.push_back({ "own safety", [](Canvas& c) {
                         // Filled in colour only: in black the mark must stay visible.
                         if (c.coloured()) {
                             c.accent(amber);
                             c.shape({ 16, 2, 31, 29, 1, 29 });
                             c.ink();
                         }
                         c.shape({ 16, 2, 31, 29, 1, 29 }, false);
                         c.rect(14.5, 10, 3, 11, true);
                         c.rect(14.5, 23, 3, 3, true);
                     } });
    return icons;
}

// Every pixel becomes the allowed colour nearest to it.
void snapToColours(QImage& image, const std::vector<QRgb>& allowed)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb pixel = image.pixel(x, y);
            QRgb best = allowed.front();
            int bestDistance = 1 << 30;
            for (QRgb colour : allowed) {
                int dr = qRed(pixel) - qRed(colour), dg = qGreen(pixel) - qGreen(colour),
                    db = qBlue(pixel) - qBlue(colour);
                int distance = dr * dr + dg * dg + db * db;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = colour;
                }
            }
            image.setPixel(x, y, best | 0xFF000000u);
        }
}

} // namespace

const std::vector<Pictogram>& eventPictograms()
{
    static const std::vector<Pictogram> icons = makeIcons();
    return icons;
}

QImage renderStrip(const std::vector<Pictogram>& icons, int width, int height, QRgb background, bool colour)
{
    QImage strip(width * int(icons.size()), height, QImage::Format_RGB32);
    strip.fill(background | 0xFF000000u);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        Canvas canvas(painter, QRectF(double(width) * double(i), 0, width, height), Qt::black, colour);
        painter.save();
        painter.setClipRect(QRect(width * int(i), 0, width, height));
        icons[i].draw(canvas);
        painter.restore();
    }
    painter.end();
    std::vector<QRgb> allowed = { background, 0x000000 };
    if (colour)
        allowed.insert(allowed.end(), { red, blue, green, amber });
    snapToColours(strip, allowed);
    return strip;
}

QImage navigationButton(int kind, int state)
{
    // A raised button face (sunken when pressed) with a black glyph; the
    // focused button has a dotted frame, the disabled one a grey glyph.
    const int w = 20, h = 18;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(0xFFC0C0C0u);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const bool pressed = state == 1;
    auto hline = [&](QRgb c, int x1, int x2, int y) { p.setPen(QColor(c)); p.drawLine(x1, y, x2, y); };
    auto vline = [&](QRgb c, int x, int y1, int y2) { p.setPen(QColor(c)); p.drawLine(x, y1, x, y2); };
    QRgb outerLight = pressed ? 0x000000 : 0xFFFFFF, outerDark = pressed ? 0xFFFFFF : 0x000000;
    QRgb innerDark = 0x808080;
    hline(outerLight, 0, w - 1, 0);
    vline(outerLight, 0, 0, h - 1);
    hline(outerDark, 0, w - 1, h - 1);
    vline(outerDark, w - 1, 0, h - 1);
    if (pressed) {
        hline(innerDark, 1, w - 2, 1);
        vline(innerDark, 1, 1, h - 2);
    } else {
        hline(innerDark, 1, w - 2, h - 2);
        vline(innerDark, w - 2, 1, h - 2);
    }
    const int shift = pressed ? 1 : 0;
    const QColor glyph = state == 3 ? QColor(0x808080) : QColor(Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(glyph);
    const int cy = h / 2 + shift;
    const int cx = w / 2 + shift;
    auto triangle = [&](int tipX, bool right) {
        int base = right ? tipX - 4 : tipX + 4;
        p.drawPolygon(QPolygon({ QPoint(tipX, cy), QPoint(base, cy - 4), QPoint(base, cy + 4) }));
    };
    switch (kind) {
    case 0: // |<
        p.drawRect(cx - 5, cy - 4, 1, 8);
        triangle(cx - 3, false);
        break;
    case 1: // <
        triangle(cx - 2, false);
        break;
    case 2: // >
        triangle(cx + 2, true);
        break;
    case 3: // >|
        triangle(cx + 3, true);
        p.drawRect(cx + 4, cy - 4, 1, 8);
        break;
    case 4: // an arrow up
        p.drawPolygon(QPolygon({ QPoint(cx, cy - 6), QPoint(cx - 5, cy - 1), QPoint(cx + 5, cy - 1) }));
        p.drawRect(cx - 2, cy - 1, 4, 6);
        break;
    case 5: // an arrow down
        p.drawPolygon(QPolygon({ QPoint(cx, cy + 6), QPoint(cx - 5, cy + 1), QPoint(cx + 5, cy + 1) }));
        p.drawRect(cx - 2, cy - 5, 4, 6);
        break;
    case 6: // a cross
        p.setPen(QPen(glyph, 2));
        p.drawLine(cx - 4, cy - 4, cx + 4, cy + 4);
        p.drawLine(cx - 4, cy + 4, cx + 4, cy - 4);
        p.setPen(Qt::NoPen);
        break;
    case 7: // three bars, shortest on top
        for (int bar = 0; bar < 3; ++bar)
            p.drawRect(cx - 5, cy - 5 + 4 * bar, 4 + 3 * bar, 2);
        break;
    default: // a printer
        p.drawRect(cx - 6, cy - 2, 12, 5);
        p.setBrush(Qt::white);
        p.setPen(glyph);
        p.drawRect(cx - 3, cy - 6, 6, 4);
        p.drawRect(cx - 3, cy + 3, 6, 3);
        p.setPen(Qt::NoPen);
        break;
    }
    if (state == 2) {
        QPen dotted(Qt::black, 1, Qt::DotLine);
        p.setPen(dotted);
        p.setBrush(Qt::NoBrush);
        p.drawRect(3, 3, w - 7, h - 7);
    }
    p.end();
    snapToColours(image, { 0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF });
    return image;
}

QImage folderPicture()
{
    // Two sliders and a gear-like wheel: settings.
    QImage image(60, 120, QImage::Format_RGB32);
    image.fill(0xFFC0C0C0u);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 2));
    for (int x : { 18, 42 })
        p.drawLine(x, 14, x, 66);
    p.setBrush(QColor(0x0050C0));
    p.drawRect(12, 24, 12, 8);
    p.drawRect(36, 46, 12, 8);
    p.setBrush(QColor(0x808080));
    p.drawEllipse(QPoint(30, 94), 16, 16);
    p.setBrush(QColor(0xC0C0C0));
    p.drawEllipse(QPoint(30, 94), 6, 6);
    p.end();
    snapToColours(image, { 0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x0050C0 });
    return image;
}

QImage configurationPicture()
{
    QImage image(60, 120, QImage::Format_RGB32);
    image.fill(0xFFC0C0C0u);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A heart.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0xC00000));
    QPolygon heart;
    heart << QPoint(30, 44) << QPoint(12, 26) << QPoint(10, 18) << QPoint(14, 11) << QPoint(21, 9)
          << QPoint(30, 16) << QPoint(39, 9) << QPoint(46, 11) << QPoint(50, 18) << QPoint(48, 26);
    p.drawPolygon(heart);
    // A sheet with three ticked lines.
    p.setBrush(QColor(0xFFFFFF));
    p.drawRect(12, 56, 36, 52);
    for (int row = 0; row < 3; ++row) {
        const int y = 66 + row * 14;
        p.setPen(QPen(QColor(0x0050C0), 2));
        p.drawLine(16, y, 19, y + 3);
        p.drawLine(19, y + 3, 24, y - 3);
        p.setPen(QPen(QColor(0x808080), 2));
        p.drawLine(28, y, 44, y);
    }
    p.end();
    snapToColours(image, { 0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x0050C0, 0xC00000 });
    return image;
}

QImage printLogo()
{
    QImage image(446, 81, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A heart, then the program's name beside it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC00000));
    QPolygon heart;
    heart << QPoint(40, 74) << QPoint(8, 40) << QPoint(6, 22) << QPoint(14, 10) << QPoint(26, 7) << QPoint(40, 20)
          << QPoint(54, 7) << QPoint(66, 10) << QPoint(74, 22) << QPoint(72, 40);
    p.drawPolygon(heart);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(50);
    p.setFont(font);
    p.setPen(QColor(Qt::black));
    p.drawText(QRect(90, 0, 356, 81), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tavo CPR"));
    p.end();
    snapToColours(image, { 0x000000, 0xFFFFFF, 0xC00000 });
    return image;
}

QImage printPicture()
{
    QImage image(459, 315, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // A manikin's chest seen from the side, two hands above it and a trace.
    p.setPen(QPen(QColor(Qt::black), 4));
    p.setBrush(QColor(0xC0C0C0));
    p.drawEllipse(QRect(40, 200, 380, 90));
    p.setBrush(QColor(0x0050C0));
    p.drawRect(200, 120, 60, 80);
    p.drawRect(185, 100, 90, 30);
    p.setPen(QPen(QColor(0xC00000), 6));
    QPolygon trace;
    for (int x = 20; x <= 440; x += 20)
        trace << QPoint(x, (x / 20) % 2 ? 30 : 80);
    p.drawPolyline(trace);
    p.end();
    snapToColours(image, { 0x000000, 0xC0C0C0, 0xFFFFFF, 0x0050C0, 0xC00000 });
    return image;
}
