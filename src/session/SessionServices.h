#pragma once
#include "Utillib/Signal.h"

#include <memory>
#include <string>
#include <vector>

class Session;

// The window side of a session, implemented by its page windows. A session
// owns them: it calls destroyWindow and then deletes the object, and never
// uses a page after that.
class SessionPageWindow {
public:
    virtual ~SessionPageWindow() = default;
    virtual void destroyWindow() = 0;
};

// The graph page: it follows the session while it collects.
class GraphPageWindow : public SessionPageWindow {
public:
    // Start, pause and the end of the duration change its buttons.
    virtual void refreshControls() = 0;
    // What its time axis has seen: the newest sample index and the sample rate (0 when unknown).
    virtual int axisNewestIndex() const = 0;
    virtual double axisSampleRate() const = 0;
};

// The review page: the record's form, which saves the session as done.
class ReviewPageWindow : public SessionPageWindow {
public:
    virtual void tickMetronome() = 0;
    // Writes the Session row as done; its after-save step gives the record
    // back to the session (Session::setRecord) and writes the data file
    // (Session::saveData). False when the row could not be written.
    virtual bool saveAsDone() = 0;
};

// The page container of one session (one tab of the session frame).
class SessionContainer {
public:
    virtual ~SessionContainer() = default;
    virtual void showPage(SessionPageWindow* page) = 0;
    virtual void destroyWindow() = 0;
};

// One event of a scenario as the event toolbar needs it.
struct ScenarioEvent {
    std::string name;
    std::string toolTip;
    int icon = 0;
};

// Everything a session reaches outside its own logic: its windows and
// questions, the data file, the database tables, the configuration, the
// clock and the application's metronome. The application installs one
// implementation; tests install doubles.
class SessionServices {
public:
    enum SaveAnswer { SAVE_YES, SAVE_NO, SAVE_REVIEW, SAVE_CANCEL };

    virtual ~SessionServices() = default;

    // Windows. Each returns a new object the session owns.
    virtual std::unique_ptr<SessionContainer> createContainer(Session& session) = 0;
    virtual std::unique_ptr<GraphPageWindow> createGraphPage(Session& session) = 0;
    virtual std::unique_ptr<SessionPageWindow> createDebriefPage(Session& session) = 0;
    virtual std::unique_ptr<ReviewPageWindow> createReviewPage(Session& session) = 0;

    // Questions and boxes (modal: the heartbeat keeps polling while they are open).
    // "Save session?" with the Review answer enabled or not.
    virtual SaveAnswer askSaveSession(Session& session, bool allowReview) = 0;
    // The lost-manikin box, owned by the session's container: true for Retry.
    virtual bool askRetryLostManikin(Session& session) = 0;
    // A replay whose data file could not be read.
    virtual void showReplayReadError(Session& session) = 0;
    // Brings the session's tab to the front (the session manager's showSession).
    virtual void showSession(Session& session) = 0;

    // The session's data file: writes it, or reads it into the session. The
    // file's own boxes belong to these.
    virtual bool saveDataFile(Session& session) = 0;
    virtual bool loadDataFile(Session& session) = 0;

    // Database: the events of a scenario in table order (the built-in list
    // for a scenario without events), and a participant added to the Person
    // table when no person of that name exists.
    virtual std::vector<ScenarioEvent> scenarioEvents(const std::string& scenario) = 0;
    virtual void addPerson(const std::string& name) = 0;

    // Configuration and sound.
    virtual bool endSoundOn() = 0;
    virtual void playEndSound() = 0;
    virtual bool cardiacOutputShown() = 0;

    // The local time as a new record gives its StartTime ("HH:MM").
    virtual std::string localTimeText() = 0;

    // The default beep (nothing to show).
    virtual void beep() = 0;

    // The application's metronome signal; null while there is none.
    virtual Signal<>* metronome() = 0;
};

// The services in use; installed by the application or a test (not owned).
SessionServices& sessionServices();
void setSessionServices(SessionServices* services);

// The database side of the services, for the application's implementation:
// the events of a scenario from its table (the built-in list when it has
// none), and a participant added to the Person table on the program's
// connection unless the table cannot be opened or the person exists.
std::vector<ScenarioEvent> loadScenarioEvents(const std::string& scenario);
void addPersonIfNew(const std::string& name);
