#pragma once
// Draws one channel of a session over the time window of an axis onto any
// paint device: the graph view's backing image on screen, a printer page or
// an image in a test. Holds the plot rectangle and the arithmetic between
// sample indexes and values and the rectangle's pixels.
#include "session/AxisModel.h"
#include "session/GraphDoc.h"

#include <QFont>
#include <QRect>

class QPainter;

struct GraphOptions {
    bool problems = true;
    bool events = true;
    bool ratios = true;
    bool cardiacOutput = true;
    // C/R ratio as "50:50" rather than "1.0".
    bool ratioNotation = false;
};

class GraphPainter {
public:
    GraphPainter(const GraphDoc& doc, const AxisModel& axis);

    // Conversions over the plot rectangle and the axis' window.
    int indexToX(int i) const;
    int xToIndex(int x) const;
    int valueToY(double v) const;
    double yToValue(int y) const;
    // 2 pixels up to a span of 50 seconds, else 1.
    int penWidth() const;
    // Height of "000:00" in the label font.
    int labelHeight() const;
    // The two rows of the group labels (C/R ratio, cardiac output).
    int groupRow(int row) const;
    // The room the band labels need (the band is shown with its bounds).
    bool bandLabelsFit() const;

    // Everything: background (white while running, grey otherwise, none when
    // printing), band, grid, scale labels, events and the curve up to the
    // newest sample the axis has handled.
    void redraw(QPainter& painter, bool running) const;
    void drawBand(QPainter& painter) const;
    void drawGrid(QPainter& painter, int tickStepMs) const;
    void drawLabels(QPainter& painter) const;
    void drawTitle(QPainter& painter) const;
    // The curve from..to with its problem markers and group labels; returns
    // the rectangle it may have touched.
    QRect drawSegment(QPainter& painter, int from, int to) const;
    QRect drawProblemMarker(QPainter& painter, int x, int y) const;
    QRect drawGroupLabels(QPainter& painter, int index) const;
    QRect drawEvent(QPainter& painter, const GraphEvent& event) const;

    // Number of samples the session holds: values are read only below it.
    int sampleCount() const;

    QRect plot;
    bool printing = false;
    bool monochrome = false;
    int tickStepMs = 1000;
    QFont labelFont;
    GraphOptions options;
    int eventButtonWidth = 16;
    int eventButtonHeight = 15;

private:
    void drawEvents(QPainter& painter, int a, int b) const;
    QRect drawGroupLabel(QPainter& painter, const QString& text, int y, int first, int last) const;

    const GraphDoc* doc;
    const GraphDescription* description;
    const AxisModel* axis;
};

// 0xBBGGRR as a colour.
QColor colourOf(unsigned bgr);
