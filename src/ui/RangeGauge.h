#pragma once
// A horizontal bar for a scale from a minimum to a maximum: coloured bands
// mark recommended ranges or single reference values, a round knob shows the
// measured value, and two end zones hold values outside the scale. The gauge
// is a drawing object: it draws on any QPainter (a widget, an image, a
// printer) into the rectangle it is given.
#include "platform/WinTypes.h"

#include <QString>
#include <array>
#include <vector>

class QPainter;
class QPicture;

struct GaugeMarker {
    double lo = 0;
    double hi = 0;
    COLORREF colour = 0;
    bool pinLow = false;
    bool pinHigh = false;
};

// Everything one drawing puts on the device, in device pixels; computed
// without a device so that it can be checked and reused.
struct GaugeGeometry {
    bool drawn = false; // false: the rectangle is too small, nothing is drawn
    double bodyHeight = 0;
    double scaleLength = 0;
    double zoneLeft = 0;  // zl
    double zoneRight = 0; // zr
    int leftEnd = 0;
    int rightEnd = 0;
    std::array<POINT, 6> outline{}; // P0..P5
    struct Band {
        RECT rect{};
        COLORREF colour = 0;
        bool fillLeftEnd = false;  // the low value lay below the scale
        bool fillRightEnd = false; // the high value lay above it
    };
    std::vector<Band> bands;
    struct Bevel {
        int kind = 0;
        std::array<POINT, 4> polygon{}; // the edge, then its shifted copy
    };
    std::vector<Bevel> bevels;
    int knobCentre = 0;
    RECT knob{};
    struct Ellipse {
        RECT rect{};
        COLORREF colour = 0;
    };
    std::vector<Ellipse> ellipses;
};

class RangeGauge {
public:
    RangeGauge();
    RangeGauge(const RangeGauge& other);
    RangeGauge& operator=(const RangeGauge& other);
    virtual ~RangeGauge();

    void setRange(double min, double max, COLORREF bodyColour);
    void setValue(double value);
    void setEnds(bool leftPointed, bool rightPointed, int leftZone, int rightZone);
    void addMarker(double lo, double hi, COLORREF colour, bool pinLow, bool pinHigh);
    void setKnobColour(COLORREF colour);
    // The picture is borrowed: it must outlive the drawings that use it.
    void setKnobPicture(const QPicture* picture);

    // Takes the zone widths and a 3-pixel knob inset as fractions of this
    // rectangle, then draws into it. A rectangle with no width or height
    // keeps the fractions of the previous drawing.
    void drawScaled(QPainter& painter, int left, int top, int right, int bottom, bool coarse);
    // Draws with the fractions of the last drawScaled (none on a gauge that
    // was never drawn scaled).
    void draw(QPainter& painter, const RECT& rect, bool coarse);
    GaugeGeometry geometry(const RECT& rect, bool coarse) const;

    // The text of a report cell that draws this gauge, and the live gauge a
    // cell text names (null when the text names none: it is then plain text).
    QString barCellText() const;
    static RangeGauge* fromBarCell(const QString& text);

    double min = 0;
    double max = 0;
    double value = 0;
    bool leftPointed = true;
    bool rightPointed = true;
    double leftZone = 0;
    double rightZone = 0;
    double rightZoneFraction = 0;
    double leftZoneFraction = 0;
    double knobInsetFactor = 0;
    COLORREF bodyColour = 0xFFFFFF;
    COLORREF knobColour = 0xC0C0C0;
    const QPicture* knobPicture = nullptr;
    std::vector<GaugeMarker> markers;
    // Left by the most recent drawing.
    int leftEnd = 0;
    int rightEnd = 0;
    double bodyHeight = 0;
    double scaleLength = 0;
};

// A channel of each colour shifted by `amount`, clamped to 0..255.
COLORREF shiftColour(COLORREF colour, int amount);
