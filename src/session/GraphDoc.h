#pragma once
// One recorded channel of a session (compression or ventilation): how it is
// scaled, coloured and read, the views that show it, and its registered
// events. The samples stay in the session's measurements.
#include "Utillib/Signal.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class Session;
struct CompressionGroup;

// One channel's value of one sample: the value (mm or L) and the problem mark.
struct SampleValue {
    double value = 0;
    bool problem = false;
};

struct GraphDescription {
    Signal<int>* sampleSignal = nullptr;
    Signal<int>* groupSignal = nullptr; // none for ventilation
    bool drawnDownward = false;          // value 0 at the top edge
    double maxValue = 1.0;
    double bandLow = 0;
    double bandHigh = 0;
    unsigned colour = 0;  // 0xBBGGRR
    int markerBitmap = 0; // the 16 by 16 problem marker's bitmap id
    std::wstring unit;
    std::wstring title;
    std::function<SampleValue(int)> valueGetter;
    std::function<const CompressionGroup*(int)> groupGetter; // empty for ventilation
};

// An event mark: the event bar button's entry and the sample it was stamped at.
struct GraphEvent {
    int commandId = 0;
    std::wstring name;
    std::wstring toolTip;
    int imageIndex = 0;
    int sampleIndex = -1;
};

// What a document needs of a view that shows it.
class GraphDocView : public SignalReceiver {
public:
    // A new event: draw it and show it at once.
    virtual void showEvent(const GraphEvent& event) = 0;
    virtual void onSampleMarked(int index) = 0;
    virtual void onGroupAdded(int index) = 0;
};

class GraphDoc {
public:
    GraphDoc(Session& session, const GraphDescription& description);
    ~GraphDoc();
    GraphDoc(const GraphDoc&) = delete;
    GraphDoc& operator=(const GraphDoc&) = delete;

    // Binds a view: its slots join the description's signals, and it joins the view list.
    void addView(GraphDocView* view);
    void removeView(GraphDocView* view);

    // Stamps the event at the newest sample (-1 before the first) and shows it in every view.
    void addEvent(int commandId, const std::wstring& name, const std::wstring& toolTip, int imageIndex);

    // The event part of the data file: the count, then "index type" per event.
    bool saveEvents(std::FILE* stream) const;
    // Reads a count and as many pairs; a count that cannot be read is 0, and
    // reading stops early, keeping what it read, at the end of the file or
    // at anything that is not a pair of numbers. False when the stream was
    // already in error.
    bool loadEvents(std::FILE* stream);

    const CompressionGroup* getGroup(int sampleIndex) const;

    Session& getSession() const { return session; }
    const GraphDescription& getDescription() const { return description; }
    const std::vector<GraphDocView*>& getViews() const { return viewList; }
    const std::vector<GraphEvent>& getEvents() const { return events; }

private:
    void append(GraphEvent event);

    Session& session;
    const GraphDescription& description;
    std::vector<GraphDocView*> viewList;
    std::vector<GraphEvent> events;
};
