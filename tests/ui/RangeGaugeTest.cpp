// The range gauge's geometry for ordinary and degenerate scales, and what
// lands on an image.
#include "ui/RangeGauge.h"

#include "ui/GdiPaint.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

const RECT cell{10, 20, 210, 36}; // 200 x 16

RangeGauge scaledGauge(double min, double max, double value, int leftZone = 20, int rightZone = 20)
{
    RangeGauge g;
    g.setRange(min, max, 0xFFFFFF);
    g.setEnds(true, true, leftZone, rightZone);
    g.setValue(value);
    g.leftZoneFraction = double(leftZone) / 200;
    g.rightZoneFraction = double(rightZone) / 200;
    g.knobInsetFactor = 3.0 / 16;
    return g;
}

bool inside(const RECT& inner, int left, int right) { return inner.left >= left && inner.right <= right; }

} // namespace

// Whatever the scale, every coordinate is finite and the knob stays on the bar.
TEST(RangeGauge, DegenerateScalesDrawFiniteGeometryWithTheKnobOnTheBar)
{
    struct Case {
        double min, max, value;
        double lo, hi;
    } cases[] = {
        {0, 100, 50, 40, 60},    {0, 100, -30, -10, 5},  {0, 100, 400, 90, 120}, {0, 0, 0, 0, 0},
        {5, 5, 7, 5, 5},         {10, 2, 5, 3, 8},       {-50, -10, -20, -40, -30},
        {0, 100, NAN, 20, 30},   {0, 1e300, 1e299, 0, 1e300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.min << ".." << c.max << " value " << c.value);
        RangeGauge g = scaledGauge(c.min, c.max, c.value);
        g.addMarker(c.lo, c.hi, 0x00FF00, false, false);
        GaugeGeometry geo = g.geometry(cell, false);
        ASSERT_TRUE(geo.drawn);
        EXPECT_TRUE(std::isfinite(geo.scaleLength));
        EXPECT_TRUE(inside(geo.knob, cell.left, cell.right)) << geo.knob.left << ".." << geo.knob.right;
        EXPECT_GE(geo.knob.top, cell.top);
        EXPECT_LE(geo.knob.bottom, cell.bottom);
        for (const auto& band : geo.bands)
            EXPECT_TRUE(inside(band.rect, cell.left, cell.right));
        QImage image(240, 60, QImage::Format_RGB32);
        QPainter painter(&image);
        g.draw(painter, cell, false);
    }
}

TEST(RangeGauge, KnobPositionsInsideAndOutsideTheScale)
{
    // W 200, H 16: body 14, zones 20 and 20, scale 199 - 14 - 40 = 145.
    struct Case {
        double value;
        bool pointed;
        int centre;
    } cases[] = {
        {0, true, 10 + 20 + 7},           // 7.5 truncated
        {100, true, 10 + 20 + 7 + 145},   // the maximum
        {50, true, 10 + 20 + 80},          // 7.5 + 72.5
        {-5, true, 10 + 7},               // at the left tip
        {-5, false, 10 + 20 + 7},         // at the minimum's place
        {105, true, 10 + 20 + 145 + 7 + 20},
        {105, false, 10 + 20 + 145 + 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        RangeGauge g = scaledGauge(0, 100, c.value);
        g.setEnds(c.pointed, c.pointed, 20, 20);
        EXPECT_EQ(g.geometry(cell, true).knobCentre, c.centre);
    }
}

// A gauge scaled for a narrow screen cell and then drawn on a wide printer
// rectangle keeps an over-range knob in the zone of the wide rectangle.
TEST(RangeGauge, OverRangeKnobFollowsTheZoneOfTheRectangleDrawn)
{
    RangeGauge g = scaledGauge(0, 100, 150);
    RECT wide{0, 0, 2000, 160};
    GaugeGeometry geo = g.geometry(wide, true);
    EXPECT_GT(geo.knobCentre, int(geo.zoneLeft + geo.scaleLength + geo.bodyHeight / 2));
}

TEST(RangeGauge, SingleValueMarkerIsOneKnobWideAroundTheKnob)
{
    RangeGauge g = scaledGauge(0, 100, 40);
    g.addMarker(40, 40, 0x0000FF, false, false);
    GaugeGeometry geo = g.geometry(cell, false);
    const RECT& band = geo.bands.at(0).rect;
    EXPECT_EQ(band.right - band.left, 14);
    EXPECT_LE(band.left, geo.knob.left);
    EXPECT_GE(band.right, geo.knob.right);
    EXPECT_FALSE(geo.bands[0].fillLeftEnd);
}

TEST(RangeGauge, ClippedMarkerFillsTheEndItCrosses)
{
    RangeGauge g = scaledGauge(0, 100, 40);
    g.addMarker(-10, 50, 0x0000FF, false, false);
    g.addMarker(50, 200, 0x00FF00, false, false);
    GaugeGeometry geo = g.geometry(cell, false);
    EXPECT_TRUE(geo.bands[0].fillLeftEnd);
    EXPECT_FALSE(geo.bands[0].fillRightEnd);
    EXPECT_EQ(geo.bands[0].rect.left, 10 + 20 + 1);
    EXPECT_TRUE(geo.bands[1].fillRightEnd);
    EXPECT_EQ(geo.bands[1].rect.right, 10 + 20 + 145);
}

TEST(RangeGauge, LowPinWithSquareEndStartsTheBarAtTheKnobsLeftEdge)
{
    RangeGauge g = scaledGauge(0, 100, 20);
    g.setEnds(false, true, 20, 20);
    g.addMarker(20, 60, 0x00FF00, true, false);
    GaugeGeometry geo = g.geometry(cell, false);
    EXPECT_EQ(geo.leftEnd, 10 + 29); // 145 * 0.2, rounded
    EXPECT_EQ(geo.outline[0].x, 10 + 29 + 20);
    EXPECT_NEAR(geo.outline[0].x, geo.knobCentre - 7, 1);
}

TEST(RangeGauge, SmallRectanglesDrawNothingButStillStoreTheFractions)
{
    RangeGauge g;
    g.setEnds(true, true, 10, 5);
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    g.drawScaled(painter, 0, 0, 40, 20, true);
    EXPECT_DOUBLE_EQ(g.leftZoneFraction, 0.25);
    EXPECT_DOUBLE_EQ(g.rightZoneFraction, 0.125);
    EXPECT_FALSE(g.geometry(RECT{0, 0, 100, 5}, true).drawn);
    EXPECT_TRUE(g.geometry(RECT{0, 0, 50, 6}, true).drawn);
    // A rectangle without width keeps what the last drawing stored.
    g.drawScaled(painter, 5, 5, 5, 30, true);
    EXPECT_DOUBLE_EQ(g.leftZoneFraction, 0.25);
    painter.end();
    EXPECT_EQ(image.pixel(20, 10), QColor(Qt::white).rgb());
}

TEST(RangeGauge, UnscaledGaugeHasNoZonesAndNoInsetAndCoarseDrawsThreeEllipses)
{
    RangeGauge g;
    g.setRange(0, 10, 0xFFFFFF);
    g.setEnds(true, true, 30, 30);
    GaugeGeometry fine = g.geometry(cell, false);
    GaugeGeometry coarse = g.geometry(cell, true);
    EXPECT_EQ(fine.zoneLeft, 0);
    EXPECT_EQ(fine.knob.top, cell.top);
    EXPECT_EQ(fine.ellipses.size(), 15u);
    EXPECT_EQ(coarse.ellipses.size(), 3u);
    EXPECT_EQ(coarse.ellipses[1].colour, ui::rgb(135, 135, 255));
}

// On an image: the body colour inside, the band's colour on the band, the
// knob's blue at its centre, nothing outside the rectangle.
TEST(RangeGauge, PaintsBodyBandAndKnobOnAnImage)
{
    RangeGauge g;
    g.setRange(0, 100, 0xFFFFFF);
    g.setEnds(true, true, 20, 20);
    g.addMarker(60, 80, 0x00C000, false, false);
    g.setValue(20);
    QImage image(240, 60, QImage::Format_RGB32);
    image.fill(QColor(10, 10, 10));
    QPainter painter(&image);
    g.drawScaled(painter, cell.left, cell.top, cell.right, cell.bottom, false);
    painter.end();
    GaugeGeometry geo = g.geometry(cell, false);
    const int midY = (cell.top + cell.bottom) / 2;
    const RECT& band = geo.bands[0].rect;
    EXPECT_EQ(image.pixelColor((band.left + band.right) / 2, midY), QColor(0, 0xC0, 0));
    EXPECT_EQ(image.pixelColor(band.right + 3, midY), QColor(Qt::white));
    QColor knob = image.pixelColor(geo.knobCentre, midY);
    EXPECT_EQ(knob.blue(), 255);
    EXPECT_LT(knob.red(), 255);
    EXPECT_EQ(image.pixelColor(5, midY), QColor(10, 10, 10));
    EXPECT_EQ(image.pixelColor(120, cell.top - 2), QColor(10, 10, 10));
}

TEST(RangeGauge, BarCellTextNamesOnlyLiveGauges)
{
    auto gauge = std::make_unique<RangeGauge>();
    QString text = gauge->barCellText();
    EXPECT_TRUE(text.startsWith("VELMOR_BAR^"));
    EXPECT_EQ(RangeGauge::fromBarCell(text), gauge.get());
    QString otherMark = text;
    otherMark[10] = QLatin1Char('#');
    EXPECT_EQ(RangeGauge::fromBarCell(otherMark), gauge.get());
    RangeGauge copy(*gauge);
    EXPECT_EQ(RangeGauge::fromBarCell(copy.barCellText()), &copy);
    for (const char* plain : {"VELMOR_BAR", "VELMOR_BAR^", "VELMOR_BAR^zz", "VELMOR_BAR^12345678", "velmor_bar^1",
                              "VELMOR_BAR^11111111111111111111"})
        EXPECT_EQ(RangeGauge::fromBarCell(plain), nullptr) << plain;
    gauge.reset();
    EXPECT_EQ(RangeGauge::fromBarCell(text), nullptr);
}
