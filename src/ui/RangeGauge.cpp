#include "ui/RangeGauge.h"

#include "ui/GdiPaint.h"

#include <QPainter>
#include <QPicture>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>

namespace {

// Gauges alive now: a cell text may name only one of these.
std::unordered_set<const RangeGauge*>& liveGauges()
{
    static std::unordered_set<const RangeGauge*> gauges;
    return gauges;
}

const QString barPrefix = QStringLiteral("VELMOR_BAR");

// Truncation toward zero that stays defined for any double: values far
// outside any device are held at a large bound and NaN becomes 0.
int truncate(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -1.0e7, 1.0e7));
}

int rounded(double v) { return truncate(v + 0.5); }

POINT point(int x, int y) { return POINT{x, y}; }

GaugeGeometry::Bevel bevel(int kind, POINT a, POINT b)
{
    POINT q1, q2;
    switch (kind) {
    case 1:
        q2 = point(b.x - 1, b.y);
        q1 = a.x == b.x ? point(a.x - 1, a.y + 1) : point(a.x, a.y + 1);
        break;
    case 2:
        q2 = a.x == b.x ? point(b.x - 1, b.y - 1) : point(b.x, b.y - 1);
        q1 = point(a.x - 1, a.y);
        break;
    case 3:
        q2 = point(b.x + 1, b.y - 1);
        q1 = point(a.x, a.y - 1);
        break;
    default:
        q2 = point(b.x + 1, b.y);
        q1 = a.x == b.x ? point(a.x + 1, a.y - 1) : point(a.x, a.y - 1);
        break;
    }
    GaugeGeometry::Bevel result;
    result.kind = kind;
    result.polygon = {a, b, q2, q1};
    return result;
}

QPolygon polygon(const POINT* points, int count)
{
    QPolygon result;
    for (int i = 0; i < count; ++i)
        result << QPoint(points[i].x, points[i].y);
    return result;
}

} // namespace

COLORREF shiftColour(COLORREF colour, int amount)
{
    auto channel = [&](int shift) { return std::clamp(int((colour >> shift) & 0xFF) + amount, 0, 255); };
    return ui::rgb(channel(0), channel(8), channel(16));
}

RangeGauge::RangeGauge() { liveGauges().insert(this); }

RangeGauge::RangeGauge(const RangeGauge& other)
    : min(other.min), max(other.max), value(other.value), leftPointed(other.leftPointed),
      rightPointed(other.rightPointed), leftZone(other.leftZone), rightZone(other.rightZone),
      rightZoneFraction(other.rightZoneFraction), leftZoneFraction(other.leftZoneFraction),
      knobInsetFactor(other.knobInsetFactor), bodyColour(other.bodyColour), knobColour(other.knobColour),
      knobPicture(other.knobPicture), markers(other.markers), leftEnd(other.leftEnd), rightEnd(other.rightEnd),
      bodyHeight(other.bodyHeight), scaleLength(other.scaleLength)
{
    liveGauges().insert(this);
}

RangeGauge& RangeGauge::operator=(const RangeGauge& other)
{
    if (this != &other) {
        RangeGauge copy(other);
        min = copy.min;
        max = copy.max;
        value = copy.value;
        leftPointed = copy.leftPointed;
        rightPointed = copy.rightPointed;
        leftZone = copy.leftZone;
        rightZone = copy.rightZone;
        rightZoneFraction = copy.rightZoneFraction;
        leftZoneFraction = copy.leftZoneFraction;
        knobInsetFactor = copy.knobInsetFactor;
        bodyColour = copy.bodyColour;
        knobColour = copy.knobColour;
        knobPicture = copy.knobPicture;
        markers = std::move(copy.markers);
        leftEnd = copy.leftEnd;
        rightEnd = copy.rightEnd;
        bodyHeight = copy.bodyHeight;
        scaleLength = copy.scaleLength;
    }
    return *this;
}

RangeGauge::~RangeGauge() { liveGauges().erase(this); }

void RangeGauge::setRange(double newMin, double newMax, COLORREF colour)
{
    min = newMin;
    max = newMax;
    bodyColour = colour;
}

void RangeGauge::setValue(double newValue) { value = newValue; }

void RangeGauge::setEnds(bool left, bool right, int leftWidth, int rightWidth)
{
    leftPointed = left;
    rightPointed = right;
    leftZone = leftWidth;
    rightZone = rightWidth;
}

void RangeGauge::addMarker(double lo, double hi, COLORREF colour, bool pinLow, bool pinHigh)
{
    markers.push_back(GaugeMarker{lo, hi, colour, pinLow, pinHigh});
}

void RangeGauge::setKnobColour(COLORREF colour)
{
    knobColour = colour;
    knobPicture = nullptr;
}

void RangeGauge::setKnobPicture(const QPicture* picture) { knobPicture = picture; }

GaugeGeometry RangeGauge::geometry(const RECT& rect, bool coarse) const
{
    GaugeGeometry g;
    const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
    const int W = R - L, H = B - T;
    if (W < 50 || H < 6)
        return g;
    g.drawn = true;
    const double bh = H - 2;
    const double zl = W * leftZoneFraction;
    const double zr = W * rightZoneFraction;
    const double sl = (W - 1) - bh - zl - zr;
    g.bodyHeight = bh;
    g.zoneLeft = zl;
    g.zoneRight = zr;
    g.scaleLength = sl;

    // Offset of a value along the scale. An empty scale (max <= min) has no
    // division: everything on it sits at the scale's start.
    const double span = max - min;
    auto along = [&](double v) { return span > 0 ? (v - min) * sl / span : 0.0; };
    const double halfKnob = (bh + 1) / 2;

    g.leftEnd = L;
    g.rightEnd = R;
    for (const GaugeMarker& m : markers) {
        if (m.pinLow)
            g.leftEnd = rounded(L + along(m.lo));
        // A high pin ends the bar where a knob at that value ends, as a low
        // pin starts it where such a knob starts.
        if (m.pinHigh)
            g.rightEnd = rounded(L + zl + bh + 1 + along(m.hi) + zr);
    }

    const int midY = T + (H - 1) / 2;
    const int xA = truncate(g.leftEnd + zl);
    const int xB = truncate(g.rightEnd - zr);
    g.outline = {point(leftPointed ? g.leftEnd : xA, midY), point(xA, T), point(xB, T),
                 point(rightPointed ? g.rightEnd : xB, midY), point(xB, B - 1), point(xA, B - 1)};

    for (const GaugeMarker& m : markers) {
        GaugeGeometry::Band band;
        band.colour = m.colour;
        double lo = m.lo, hi = m.hi;
        if (lo < min) {
            lo = min;
            band.fillLeftEnd = true;
        }
        if (hi > max) {
            hi = max;
            band.fillRightEnd = true;
        }
        int x1 = std::max(rounded(L + zl + along(lo)), truncate(L + zl + 1));
        int x2 = std::min(rounded(L + zl + bh + along(hi)), truncate(L + zl + sl));
        band.rect = RECT{x1, T + 1, x2, B - 1};
        g.bands.push_back(band);
    }

    const auto& p = g.outline;
    if (p[3].x - p[2].x <= p[3].y - p[2].y)
        g.bevels.push_back(bevel(1, p[2], p[3]));
    g.bevels.push_back(bevel(3, p[4], p[5]));
    g.bevels.push_back(bevel(2, p[3], p[4]));
    if (p[5].x - p[0].x >= p[5].y - p[0].y)
        g.bevels.push_back(bevel(4, p[5], p[0]));

    // A value that is no number sits at the scale's start.
    const double v = std::isnan(value) ? min : value;
    double centre;
    if (v < min)
        centre = (leftPointed ? L : L + zl) + halfKnob;
    else if (v > max)
        centre = L + zl + sl + halfKnob + (rightPointed ? zr : 0);
    else
        centre = L + zl + halfKnob + along(v);
    g.knobCentre = truncate(centre);

    const double r = bh / 2;
    const double d = H * knobInsetFactor;
    g.knob = RECT{truncate(g.knobCentre - r + d), truncate(T + d), truncate(g.knobCentre + r - d),
                  truncate(B - 1 - d)};
    const int kw = g.knob.right - g.knob.left, kh = g.knob.bottom - g.knob.top;
    for (int n = 0; n < 15; n += coarse ? 5 : 1) {
        int grey = 80 + 11 * n;
        GaugeGeometry::Ellipse e;
        e.colour = ui::rgb(grey, grey, 255);
        e.rect = RECT{truncate(g.knob.left + n * kw * 0.015), truncate(g.knob.top + n * kh * 0.015),
                      truncate(g.knob.right - n * kw * 0.035), truncate(g.knob.bottom - n * kh * 0.035)};
        g.ellipses.push_back(e);
    }
    return g;
}

void RangeGauge::drawScaled(QPainter& painter, int left, int top, int right, int bottom, bool coarse)
{
    if (right != left && bottom != top) {
        leftZoneFraction = leftZone / (right - left);
        rightZoneFraction = rightZone / (right - left);
        knobInsetFactor = 3.0 / (bottom - top);
    }
    draw(painter, RECT{left, top, right, bottom}, coarse);
}

void RangeGauge::draw(QPainter& painter, const RECT& rect, bool coarse)
{
    GaugeGeometry g = geometry(rect, coarse);
    if (!g.drawn)
        return;
    leftEnd = g.leftEnd;
    rightEnd = g.rightEnd;
    bodyHeight = g.bodyHeight;
    scaleLength = g.scaleLength;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPen lightPen(ui::qColour(shiftColour(bodyColour, 96)), 0);
    const QPolygon outline = polygon(g.outline.data(), 6);

    painter.setPen(lightPen);
    painter.setBrush(ui::qColour(bodyColour));
    painter.drawPolygon(outline, Qt::OddEvenFill);

    for (const GaugeGeometry::Band& band : g.bands) {
        ui::paintRectangle(painter, band.rect, band.colour, band.colour);
        painter.setPen(QPen(ui::qColour(band.colour), 0));
        painter.setBrush(ui::qColour(band.colour));
        if (band.fillLeftEnd) {
            POINT end[3] = {g.outline[0], g.outline[1], g.outline[5]};
            painter.drawPolygon(polygon(end, 3), Qt::OddEvenFill);
        }
        if (band.fillRightEnd) {
            POINT end[3] = {g.outline[2], g.outline[3], g.outline[4]};
            painter.drawPolygon(polygon(end, 3), Qt::OddEvenFill);
        }
    }

    painter.setPen(lightPen);
    painter.setBrush(Qt::NoBrush);
    QPolygon closed = outline;
    closed << outline.first();
    painter.drawPolyline(closed);

    const QColor dark = ui::qColour(shiftColour(bodyColour, -64));
    for (const GaugeGeometry::Bevel& b : g.bevels) {
        painter.setPen(QPen(dark, 0));
        painter.setBrush(dark);
        painter.drawPolygon(polygon(b.polygon.data(), 4), Qt::OddEvenFill);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(b.polygon[0].x, b.polygon[0].y, b.polygon[1].x, b.polygon[1].y);
    }

    if (knobPicture) {
        QRect target = ui::pixelRect(g.knob);
        QRect source = knobPicture->boundingRect();
        if (!target.isEmpty() && !source.isEmpty()) {
            painter.save();
            painter.translate(target.topLeft());
            painter.scale(double(target.width()) / source.width(), double(target.height()) / source.height());
            painter.translate(-source.topLeft());
            painter.drawPicture(0, 0, *knobPicture);
            painter.restore();
        }
    } else {
        for (const GaugeGeometry::Ellipse& e : g.ellipses)
            ui::paintEllipse(painter, e.rect, e.colour, e.colour);
    }
    painter.restore();
}

QString RangeGauge::barCellText() const
{
    return barPrefix + QLatin1Char('^') + QString::number(quintptr(this), 16);
}

RangeGauge* RangeGauge::fromBarCell(const QString& text)
{
    // "VELMOR_BAR", one character of any kind, then the gauge in hexadecimal.
    const qsizetype digitsAt = barPrefix.size() + 1;
    if (text.size() <= digitsAt || text.size() > digitsAt + 16 || !text.startsWith(barPrefix))
        return nullptr;
    bool ok = false;
    quintptr address = text.mid(digitsAt).toULongLong(&ok, 16);
    if (!ok)
        return nullptr;
    auto found = liveGauges().find(reinterpret_cast<const RangeGauge*>(address));
    return found == liveGauges().end() ? nullptr : const_cast<RangeGauge*>(*found);
}
