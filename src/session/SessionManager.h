#pragma once
#include "Utillib/Signal.h"

#include <functional>
#include <vector>

class Session;
class SessionContainer;

// A window that lists the registered sessions: the tab view of the session
// frame, or the surveillance view.
class SessionListView {
public:
    virtual ~SessionListView() = default;
    virtual void addSession(Session& session, SessionContainer* container) = 0;
    virtual void removeSession(Session& session, SessionContainer* container) = 0;
};

// The tab view of the session frame: one tab per session.
class SessionTabView : public SessionListView {
public:
    virtual void selectSession(Session& session) = 0;
    virtual Session* activeSession() const = 0;
    // Shows and activates the session frame.
    virtual void activateFrame() = 0;
};

// Opens the two frames; each calls back setTabView or setSurveillanceView
// when its view exists, and frameClosed when it is gone.
class SessionFrames {
public:
    virtual ~SessionFrames() = default;
    virtual void openSessionFrame() = 0;
    virtual void openSurveillanceFrame() = 0;
};

// The registry of the live sessions: keeps them in creation order, polls
// them on every tick, starts and pauses them all, asks every one of them
// before the program or the session frame closes, and deletes each one when
// it announces its end. Also holds the display options all graphs share.
class SessionManager : public SignalReceiver {
public:
    struct DisplayOption {
        Signal<int, bool> changed;
        int id;
        bool on;
    };
    enum { EVENTS = 0, PROBLEMS = 1, RATIOS = 2, CARDIAC_OUTPUT = 3 };

    SessionManager();
    ~SessionManager() override;
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    void add(Session* session);
    void poll();
    void showSessionView();
    void showSurveillance();
    void showSession(Session* session);
    void selectTab(int n);
    Session* activeSession() const;
    bool canCloseAll();
    int getCount() const { return static_cast<int>(sessionList.size()); }
    int runningCount() const;
    void startAll();
    void pauseAll();
    void closeAll();

    // Slots.
    void removeSession(Session* session);
    void deleteSession(Session* session);

    // The window side: its frames' opener, and its views as they come and go.
    void setFrames(SessionFrames* opener) { frames = opener; }
    void setTabView(SessionTabView* view);
    void setSurveillanceView(SessionListView* view);
    // The session frame closed: its tab view is gone and every session closes.
    void sessionFrameClosed();
    // The surveillance frame closed: the sessions stay.
    void surveillanceFrameClosed();

    // Changes an option and tells every graph.
    void setDisplayOption(int index, bool on);

    const std::vector<Session*>& sessions() const { return sessionList; }
    DisplayOption displayOptions[4];
    Signal<> sessionsChanged;

private:
    // Runs `action` on every session in list order until it returns false.
    bool forEachSession(const std::function<bool(Session*)>& action);

    std::vector<Session*> sessionList;
    SessionFrames* frames = nullptr;
    SessionTabView* tabView = nullptr;
    SessionListView* surveillanceView = nullptr;
};

// The program's one session manager, made by the application; null before.
extern SessionManager* sessionManager;
