#pragma once
// The page a session shows while it collects: the ventilation graph above,
// the time axis, the compression graph below, the two event bars, and on
// the left Start and Pause, the elapsed time, the zoom list, the display
// options, and Abort, Print and Debriefing.
#include "Utillib/Signal.h"
#include "session/AxisCtrl.h"
#include "session/Session.h"
#include "ui/ToolBar.h"

#include <QWidget>

#include <memory>

#include "ui/HelpTopic.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QToolBar;
class GraphView;
class ReadoutStatic;

class SessionGraphView : public QWidget, public UpdateReceiver, public AxisHost, public SignalReceiver, public HelpTopic {
public:
    static constexpr int zoomSpans[] = { 5000, 10000, 20000, 40000, 60000, 120000, 300000, 600000, 1200000, 2400000,
                                         3600000 };

    SessionGraphView(Session& session, QWidget* parent = nullptr);
    ~SessionGraphView() override;
    int helpContext() const override { return 10002; }
    // Leaves the session: its update receivers and its channels (idempotent).
    void detach();

    void updateControls();
    void onUpdate(int newestIndex);
    void update(int newestIndex) override { onUpdate(newestIndex); }

    // AxisHost.
    void setCursorMode(int axisMode) override;
    void updateScrollBar() override;
    void syncZoomCombo() override;

    void onZoomSelected(int index);
    void onDisplayOption(int id, bool on);
    void onScroll(int action);
    // An event bar button: 0 the bar above the ventilation graph, 1 the one below the compression graph.
    void onEventButton(int bar, int commandId);
    void onAbort();

    // Paints both graphs and the axis into the rectangle of any paint device.
    void printGraphs(QPainter& painter, const QRect& rect, bool monochrome);
    // The printout's window: m minutes from the first activity, or the last m minutes.
    void setPrintRange(int minutes);

    AxisCtrl* axis() const { return axisCtrl; }
    GraphView* ventilationView() const { return ventView; }
    GraphView* compressionView() const { return compView; }
    QComboBox* zoomCombo() const { return zoomList; }
    QGroupBox* timeBox() const { return timeGroup; }
    QProgressBar* progress() const { return progressBar; }
    QPushButton* startButton() const { return start; }
    QPushButton* pauseButton() const { return pause; }
    QPushButton* abortButton() const { return abort; }
    QPushButton* debriefingButton() const { return debriefing; }
    QPushButton* printButton() const { return print; }
    QPushButton* magnifyButton() const { return magnify; }
    QCheckBox* optionBox(int option) const { return optionBoxes[option]; }
    QToolBar* eventBar(int bar) const { return eventBars[bar]; }
    QScrollBar* scrollBar() const { return scroll; }
    QLabel* rateCaption() const { return rateLabel; }
    int cursorMode() const { return cursor; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void layoutPage();
    void fillZoomCombo(int key);
    void setScrollBarShown(bool shown);

    Session* session;
    ToolBar eventModel;
    AxisCtrl* axisCtrl = nullptr;
    GraphView* ventView = nullptr;
    GraphView* compView = nullptr;
    QToolBar* eventBars[2] = {};
    QScrollBar* scroll = nullptr;
    ReadoutStatic* readout = nullptr;
    QWidget* column = nullptr;
    QPushButton* start = nullptr;
    QPushButton* pause = nullptr;
    QGroupBox* timeGroup = nullptr;
    QProgressBar* progressBar = nullptr;
    QComboBox* zoomList = nullptr;
    QSpinBox* zoomSpin = nullptr;
    QPushButton* magnify = nullptr;
    QPushButton* demagnify = nullptr;
    QCheckBox* optionBoxes[4] = {};
    QPushButton* abort = nullptr;
    QPushButton* print = nullptr;
    QPushButton* help = nullptr;
    QPushButton* debriefing = nullptr;
    QLabel* ventCaption = nullptr;
    QLabel* compCaption = nullptr;
    QLabel* rateLabel = nullptr;
    QString pauseText;
    QString savedTimeCaption;
    bool blinkShowsPause = false;
    int blinkTimer = 0;
    int lastSecond = -1;
    int lastRate = 0;
    bool scrollBarShown = false;
    bool eventBarsShown = false;
    int eventBarHeight = 0;
    int cursor = 0;
};
