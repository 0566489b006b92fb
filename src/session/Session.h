#pragma once
#include "Database/Algorithm.h"
#include "Utillib/Signal.h"
#include "comm/CommSession.h"
#include "Database/PlannedRow.h"
#include "Database/SessionRecord.h"
#include "session/GraphDoc.h"
#include "session/SessionServices.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Comm;

// A view that follows a session: told the newest sample index on each tick
// that brought new samples.
class UpdateReceiver {
public:
    virtual ~UpdateReceiver() = default;
    virtual void update(int newestIndex) = 0;
};

// One button of a session's event toolbar.
struct EventButton {
    int id = 0;
    std::wstring name;
    std::wstring toolTip;
    int eventType = 0;
};

// One training run on one manikin: live on a COM port through its own Comm,
// or the replay of a stored session read from its data file. Polled on every
// tick by the session manager; pauses itself when the manikin is lost or the
// set duration has passed; asks whether to save when it is closed.
class Session : public SignalReceiver {
public:
    enum State { INIT = 0, COLLECT = 1, DEBRIEF = 2, REVIEW = 3 };

    Session(const SessionRecord& record, const Algorithm& algorithm);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void poll();
    void start();
    void pause();
    void endOfTime();
    bool isRunning() const;

    SessionContainer* createView();
    void setState(int newState);
    GraphPageWindow* graphPage();
    SessionPageWindow* debriefPage();
    ReviewPageWindow* reviewPage();

    // The "Save session?" question: true when the session may be closed. A
    // save whose row or data file could not be written keeps it open.
    bool askSave();
    // Closes the windows and announces the end; for a registered session
    // this deletes it, so nothing may touch the session afterwards.
    void close();

    bool saveData();
    bool loadData();
    // Prints the evaluation (portrait) or the graphs (landscape).
    void print(bool evaluation);
    void setRecord(const SessionRecord& newRecord);
    // The stored row a session on a planned row started from, as its caller
    // read it before the recording: what the review page measures the
    // changes of this station from, so that what another station changed in
    // the row meanwhile stays. None for a session of a new row.
    void setPlannedRow(PlannedRow planned) { plannedFrom = std::move(planned); }
    const std::optional<PlannedRow>& plannedRow() const { return plannedFrom; }
    // The seconds up to the newest sample shown; without a graph page, the
    // recording's length.
    unsigned elapsedSeconds() const;
    // The coaching sentences for the statistics as last computed and the
    // registered events, rebuilt on every call.
    std::wstring adviceText() const;
    std::wstring ventilationPerson() const;
    std::wstring compressionPerson() const;
    void onMetronome();

    void addUpdateReceiver(UpdateReceiver* updateReciver);
    void removeUpdateReceiver(UpdateReceiver* updateReciver);

    // The channels' values of sample i: {value, problem mark}.
    struct Value {
        double value = 0;
        bool mark = false;
    };
    Value getCompressionValue(int i) const;
    Value getVentilationValue(int i) const;
    const CompressionGroup* getCompressionGroup(int i) const;

    // The program-wide counter of event ids: the next id (the first is 100001).
    static int nextEventId();

    Signal<> stateChanged;
    Signal<> modifiedChanged;
    Signal<Session*> closing;
    Signal<Session*> destroyed;
    Signal<Session*> recordChanged;

    // Read access for the views.
    int getState() const { return state; }
    bool isFinished() const { return finished; }
    bool isReplay() const { return replay; }
    bool isModified() const { return modified; }
    const std::wstring& getName() const { return name; }
    const SessionRecord& getRecord() const { return record; }
    const Algorithm& getAlgorithm() const { return algorithm; }
    CommSession& getCommSession() { return commSession; }
    const CommSession& getCommSession() const { return commSession; }
    Comm* getComm() const { return comm.get(); }
    const std::vector<EventButton>& eventToolBar() const { return eventButtons; }
    SessionContainer* getSessionView() const { return sessionView.get(); }

    bool registerEvents = true;

private:
    // The recording's length in whole seconds (0 when nothing was recorded).
    unsigned recordedSeconds() const;
    void describeChannels();
    void pauseSteps();
    void notifyReceivers();
    void lostManikin();
    void destroyPages();

    std::vector<UpdateReceiver*> updateReceivers;
    std::unique_ptr<Comm> comm;
    CommSession commSession;
    bool replay = false;
    std::vector<EventButton> eventButtons;
    bool finished = false;
    bool modified = false;
    bool errorBoxShown = false;
    bool errorCancelled = false;
    // Set by saveData while askSave waits for the review page's save.
    bool dataFileSaved = false;
    std::wstring name;
    int lastNotifiedIndex = 0;
    int state = INIT;
    SessionRecord record;
    std::optional<PlannedRow> plannedFrom;
    Algorithm algorithm;
    int port = -1;
    // False once the session is gone: a modal box runs the heartbeat, and
    // what runs there may close (and delete) this session.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

public:
    // The two channels, over the measurements above.
    GraphDescription compressionDescription;
    GraphDescription ventilationDescription;
    GraphDoc compressionDoc { *this, compressionDescription };
    GraphDoc ventilationDoc { *this, ventilationDescription };

private:
    // The windows come last, so that they go first: a session deleted
    // without close (a replay, by whoever made it) takes its pages down
    // while the documents, measurements and receiver list they leave still exist.
    std::unique_ptr<GraphPageWindow> sessionGraphView;
    std::unique_ptr<SessionPageWindow> debriefPageWindow;
    std::unique_ptr<ReviewPageWindow> reviewPageWindow;
    std::unique_ptr<SessionContainer> sessionView;
};
