#pragma once
// The time window that a session's graphs show, free of any window: which
// sample indexes are visible, how a live graph pages forward, how the mouse
// zooms, where the time labels stand, and when a live session has run past
// its set duration. The axis window (AxisCtrl) drives it and draws from it.
#include <vector>

class AxisModel {
public:
    explicit AxisModel(double sampleRate);

    // Time of sample i in milliseconds (a sample counts at the middle of its period).
    unsigned msOfIndex(int i) const;
    // Number of samples in a duration of `ms` milliseconds.
    int indexesForMs(double ms) const;

    void setSampleRate(double rate);
    double sampleRate() const { return currentFreq; }

    // The newest sample stays in view; the window starts on a paging step.
    void setViewIndexes(int n);
    void setRange(int left, int n);
    void setLeftIndex(int left);
    // The whole session: from 0 to the newest sample, at least 5 seconds.
    void zoomAll();

    // What a tick with the newest sample index `newest` asks of the views.
    enum class Step {
        none,      // nothing new
        remember,  // no room to draw: the index is only noted
        endOfTime, // the set duration has passed: end the session, redraw from 0
        page,      // the window moved forward: redraw everything
        segment,   // draw the samples from..to
    };
    struct Update {
        Step step = Step::none;
        int from = 0;
        int to = 0;
    };
    // `durationSeconds` is the session's set duration, -1 for none; a
    // finished session is never ended again. The duration is checked even
    // when the axis has no area, so a session whose graphs are hidden ends
    // on time too.
    Update update(int newest, bool hasArea, bool finished, int durationSeconds);

    // Label and grid distance in milliseconds for an axis `axisWidth` pixels
    // wide whose label "000:00" is `labelWidth` pixels wide.
    int tickStep(int axisWidth, int labelWidth) const;
    // The sample indexes that carry a label and a grid line: every step
    // strictly after leftIndex and before its right edge.
    std::vector<int> tickIndexes(int tickStepMs) const;
    // "m:ss" of the time of a label's index, rounded to whole seconds.
    static void labelText(unsigned ms, char* text, int size);

    // Mouse gestures; the index is the sample under the pointer.
    // Zoom in on anchor..index (a click halves the span around it); never below 5 seconds.
    void zoomIn(int anchor, int index);
    // Twice the span centred on index, never more than an hour.
    void zoomOut(int index);

    int leftIndex = 0;
    int viewIndexes = 1;
    int viewMoveIndexes = 1;
    int lastUpdateIndex = 0;

private:
    void checkWindow() const;
    double currentFreq;
};
