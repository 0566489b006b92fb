#pragma once
// The window of one channel of a session: it keeps the channel's picture in
// an image of its own size, draws each tick's new samples into it and
// repaints only those columns; the zoom band and the range marker are drawn
// over the picture, never into it.
#include "session/GraphPainter.h"

#include <QImage>
#include <QLabel>
#include <QPoint>

#include <functional>
#include <utility>

class AxisCtrl;

// The pointer readout beside the graphs: time and value under the pointer,
// cleared within a second once the pointer has moved away.
class ReadoutStatic : public QLabel {
public:
    explicit ReadoutStatic(QWidget* parent);
    void setReading(const QPoint& screenPos, const QString& text);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QPoint shownAt;
};

class GraphView : public QWidget, public GraphDocView {
public:
    // Whether C/R ratios show as "50:50" (the configuration's setting); the
    // program installs it, without it they show as "1.0".
    static inline std::function<bool()> compRelaxAsPercent;

    GraphView(GraphDoc& doc, QWidget* parent);
    ~GraphView() override;

    void setAxisCtrl(AxisCtrl* axis);
    AxisCtrl* axisCtrl() const { return axis; }
    // Leaves the document and the axis (idempotent); the session may go after it.
    void detach();

    // A new span or sample rate: new pen, full redraw, shown at once.
    void onAxisChanged();
    // Full redraw into the picture only.
    void redraw();
    // The new samples from..to into the picture and onto the window.
    void drawSegment(int from, int to);
    void showZoomBand(int lo, int hi);
    void showRange(int lo, int hi);

    // GraphDocView.
    void showEvent(const GraphEvent& event) override;
    void onSampleMarked(int index) override;
    void onGroupAdded(int index) override;

    // The display options as they are now: the session manager's and the
    // configuration's C/R notation (what the screen and the printout show).
    static GraphOptions currentOptions();

    const QImage& picture() const { return image; }
    // The range marker's samples; -1, -1 when none is shown.
    std::pair<int, int> shownRange() const { return { rangeLo, rangeHi }; }
    GraphPainter& graphPainter() { return painter; }
    const GraphDoc& document() const { return *doc; }
    ReadoutStatic* readout = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void applyOptions();
    bool inWindow(int index) const;
    void updateReadout(const QPoint& pos);

    GraphDoc* doc;
    AxisCtrl* axis = nullptr;
    GraphPainter painter;
    QImage image;
    // The scale labels over the picture, placed at the last full redraw.
    std::vector<ScaleLabel> labels;
    int bandLo = -1, bandHi = -1;
    int rangeLo = -1, rangeHi = -1;
};
