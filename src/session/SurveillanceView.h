#pragma once
// The surveillance window: every open session at once, each in a cell with
// its caption, ventilation graph, own time axis and compression graph, all
// live. A check list on the left chooses the cells shown, a zoom list sets
// the span of every cell, and one readout shows the value under the pointer.
#include "Utillib/Signal.h"
#include "session/SessionManager.h"
#include "ui/ChildFrame.h"

#include <QWidget>

#include <list>

class AxisCtrl;
class GraphView;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class ReadoutStatic;
class Session;

// One session's cell; a repaint of its graphs follows the session's state.
struct SurveillanceCell : public SignalReceiver {
    Session* session = nullptr;
    GraphView* ventGraphView = nullptr;
    GraphView* compGraphView = nullptr;
    AxisCtrl* axisCtrl = nullptr;
    QLabel* staticCtrl = nullptr;
    bool shown = true;

    // Running or not gives the graphs another background.
    void onStateChanged();
    // Places the caption, the graphs and the axis in the rectangle.
    void move(int x, int y, int width, int height);
    // Shows the cell's windows, or hides them.
    void show(bool visible);
    // Leaves the session and deletes the cell's windows.
    void destroyWindows();
};

class sessionManagerMultiView : public QWidget, public SessionListView {
public:
    explicit sessionManagerMultiView(QWidget* parent = nullptr);
    ~sessionManagerMultiView() override;

    // SessionListView.
    void addSession(Session& session, SessionContainer* container) override;
    void removeSession(Session& session, SessionContainer* container) override;

    // Reads the check marks into the cells; lays the grid out again when one changed.
    void applyChecks();
    void onZoomSelected(int index);
    // Places the shown cells row by row in the client area of that size.
    void layout(int width, int height);
    int showCount() const;

    const std::list<SurveillanceCell>& cells() const { return viewList; }
    QListWidget* checkList() const { return viewListCtrl; }
    QComboBox* zoomCombo() const { return zoomList; }
    QPushButton* closeButton() const { return closeBtn; }
    int gridLeft() const { return gridX; }
    // Run by the Close button (the frame goes).
    std::function<void()> onClose;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillViewList();
    void createCell(SurveillanceCell& cell);
    int spanMs = 20000;

    QListWidget* viewListCtrl;
    QComboBox* zoomList;
    QSpinBox* zoomSpin;
    ReadoutStatic* readout;
    QPushButton* closeBtn;
    QPushButton* helpBtn;
    QFont captionFont;
    int gridX = 0;
    std::list<SurveillanceCell> viewList; // in the order the sessions were added
};

// The MDI frame around the surveillance view.
class SurveillanceChildFrame : public ChildFrame {
public:
    QWidget* getView() override { return view; }
    bool createView() override;
    sessionManagerMultiView* surveillanceView() const { return view; }

private:
    sessionManagerMultiView* view = nullptr;
};
