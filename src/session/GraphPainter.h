#pragma once
// Draws one channel of a session over the time window of an axis onto any
// paint device: the graph view's backing image on screen, a printer page or
// an image in a test. Holds the plot rectangle and the arithmetic between
// sample indexes and values and the rectangle's pixels.
#include "session/AxisModel.h"
#include "session/GraphDoc.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

#include <vector>

class QPainter;

struct GraphOptions {
    bool problems = true;
    bool events = true;
    bool ratios = true;
    bool cardiacOutput = true;
    // C/R ratio as "50:50" rather than "1.0".
    bool ratioNotation = false;
};

// One scale label: its text and where it stands.
struct ScaleLabel {
    QString text;
    QRect rect;
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
    // Pixels at the zero edge kept for the title of a printed graph; none on screen.
    int titleRoom() const;
    // The two rows of the group labels (C/R ratio, cardiac output).
    int groupRow(int row) const;
    // The scale labels that fit: the maximum and zero at the plot's edges,
    // the band's bounds inside the band or, where the band is too narrow,
    // beside it, then the legends of the group rows. A label never leaves
    // the plot and never overlaps another; one that finds no room is left out.
    std::vector<ScaleLabel> scaleLabels() const;

    // Everything: background (white while running, grey otherwise, none when
    // printing), band, grid, events and the curve up to the newest sample the
    // axis has handled, and over them the scale labels (unless the caller
    // draws them itself over the picture: labelsInPicture false).
    void redraw(QPainter& painter, bool running) const;
    void drawBand(QPainter& painter) const;
    void drawGrid(QPainter& painter, int tickStepMs) const;
    // The scale labels, each with a halo so that it stays readable over the curve.
    void drawLabels(QPainter& painter) const;
    // These labels, only those whose picture meets `dirty` (all when it is
    // empty). On screen each is copied from its picture, kept for the next
    // paint; on a printer it is drawn stroke by stroke at the printer's
    // resolution (a picture there would print as a coarse bitmap).
    void drawLabels(QPainter& painter, const std::vector<ScaleLabel>& labels, const QRegion& dirty = {}) const;
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
    bool labelsInPicture = true;
    // Pixels kept free between the scale labels and the plot's edges, where
    // a printed graph's frame lies.
    int labelInset = 0;
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

// Draws the image stretched into the rectangle, each of its pixels that is
// not transparent as a filled rectangle: a printout gets no picture whose
// transparency a printer or a viewer could lose.
void drawPixelsScaled(QPainter& painter, const QImage& image, const QRect& target);

// 0xBBGGRR as a colour.
QColor colourOf(unsigned bgr);
