#pragma once
// The time axis between a session's two graphs: it draws the time labels and
// drives the window of samples every attached graph shows; it follows the
// session's new samples, pages forward, zooms by mouse, and ends a live
// session that has run past its set duration.
#include "Utillib/Signal.h"
#include "session/AxisModel.h"
#include "session/Session.h"

#include <QWidget>

#include <utility>
#include <vector>

class GraphView;

// What the axis tells the page that hosts it.
class AxisHost {
public:
    virtual ~AxisHost() = default;
    virtual void setCursorMode(int axisMode) = 0;
    virtual void updateScrollBar() = 0;
    // The span changed (the zoom list follows it).
    virtual void syncZoomCombo() = 0;
};

class AxisCtrl : public QWidget, public UpdateReceiver, public SignalReceiver {
public:
    enum { ZOOM = 0, ZOOM_ALL = 1, NORMAL = 3, RANGE = 4 };

    AxisCtrl(Session& session, AxisHost* host, QWidget* parent);
    ~AxisCtrl() override;
    // Leaves the session (idempotent).
    void detach();

    void addGraphView(GraphView* view);
    void removeGraphView(GraphView* view);

    void refresh();
    void setLeftIndex(int left);
    void setViewIndexes(int n);
    void setRange(int left, int n);
    void setMouseMode(int mode);
    int getMouseMode() const { return mouseMode; }
    void showNewest();
    void redrawViews(int id = 0, bool on = false);
    int labelFontHeight() const;
    const QFont& labelFont() const { return font; }

    void update(int newestIndex) override;

    // Mouse input from a view, already as the sample index under the pointer.
    void onMouseMove(int index);
    void onLButtonDown(GraphView* view, int index);
    void onLButtonUp(int index);
    void onRButtonUp(int index);
    void onLButtonDblClk();

    // The labels in `labelFont` into any rectangle of any paint device
    // (printing). A label stays inside the rectangle, `inset` pixels clear of
    // its left and right edges (a printed frame); one that would overlap the
    // label before it is left out (its grid line stays).
    void drawLabels(QPainter& painter, const QRect& rect, bool background, const QFont& labelFont, int inset = 0) const;
    // Where the labels stand in the rectangle, in the font of `metrics`.
    std::vector<std::pair<QRect, QString>> labelPlaces(const QRect& rect, const QFontMetrics& metrics, int inset = 0) const;
    // The printed labels' own small font (6 points) on that device.
    QFont printFont(QPaintDevice* device) const;
    // A drag in progress follows the picture under the pointer (after a page jump).
    void trackCursor();

    AxisModel model;
    const std::vector<GraphView*>& views() const { return graphViewList; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void clearDrag();
    int computeTickStep(int width) const;

    Session* session;
    AxisHost* host;
    std::vector<GraphView*> graphViewList;
    QFont font;
    int mouseMode = NORMAL;
    int selectionAnchor = -1;
};
