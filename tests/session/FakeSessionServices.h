#pragma once
#include "session/Session.h"
#include "session/SessionManager.h"
#include "session/SessionServices.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace sessiontest {

class FakeSessionServices;

// A page that logs its life into the services' log.
class FakePage : public SessionPageWindow {
public:
    FakePage(FakeSessionServices& services, std::string kind);
    ~FakePage() override;
    void destroyWindow() override;

    FakeSessionServices& services;
    std::string kind;
};

// The graph page with the part of its time axis a session relies on: it
// follows the session's samples and ends the session when its set duration
// has passed, then shows the debriefing.
class FakeGraphPage : public GraphPageWindow, public UpdateReceiver {
public:
    FakeGraphPage(FakeSessionServices& services, Session& session);
    ~FakeGraphPage() override;
    void destroyWindow() override;
    void refreshControls() override { ++refreshes; }
    int axisNewestIndex() const override { return newest; }
    double axisSampleRate() const override { return rate; }
    void update(int newestIndex) override;

    FakeSessionServices& services;
    Session& session;
    int newest = 0;
    double rate = 20.0;
    int refreshes = 0;
};

// The review page: its save writes the row (or fails), then gives the
// record back and writes the data file, as its after-save step does.
class FakeReviewPage : public ReviewPageWindow {
public:
    FakeReviewPage(FakeSessionServices& services, Session& session);
    ~FakeReviewPage() override;
    void destroyWindow() override;
    void tickMetronome() override { ++metronomeTicks; }
    bool saveAsDone() override;

    FakeSessionServices& services;
    Session& session;
    int metronomeTicks = 0;
};

class FakeContainer : public SessionContainer {
public:
    explicit FakeContainer(FakeSessionServices& services)
        : services(services)
    {
    }
    ~FakeContainer() override;
    void showPage(SessionPageWindow* page) override { shown = page; }
    void destroyWindow() override;

    FakeSessionServices& services;
    SessionPageWindow* shown = nullptr;
};

// Installs itself as the session services for its life; logs what the
// session asked of its windows, files and tables.
class FakeSessionServices : public SessionServices {
public:
    FakeSessionServices() { setSessionServices(this); }
    ~FakeSessionServices() override { setSessionServices(nullptr); }

    std::unique_ptr<SessionContainer> createContainer(Session&) override;
    std::unique_ptr<GraphPageWindow> createGraphPage(Session& session) override;
    std::unique_ptr<SessionPageWindow> createDebriefPage(Session&) override;
    std::unique_ptr<ReviewPageWindow> createReviewPage(Session& session) override;

    SaveAnswer askSaveSession(Session& session, bool allowReview) override;
    bool askRetryLostManikin(Session& session) override;
    void showReplayReadError(Session&) override { log.push_back("read error box"); }
    void showSession(Session&) override { log.push_back("show session"); }

    bool saveDataFile(Session&) override;
    bool loadDataFile(Session& session) override;

    std::vector<ScenarioEvent> scenarioEvents(const std::string& scenario) override;
    void addPerson(const std::string& name) override { persons.push_back(name); }

    bool endSoundOn() override { return endSound; }
    void playEndSound() override { log.push_back("end sound"); }
    bool cardiacOutputShown() override { return cardiacOutput; }
    std::string localTimeText() override { return time; }
    void beep() override { ++beeps; }
    Signal<>* metronome() override { return &metronomeSignal; }

    std::vector<std::string> log;
    int count(const std::string& entry) const;

    // The answers of "Save session?", one per question; Cancel when none is left.
    std::deque<SaveAnswer> saveAnswers;
    std::vector<bool> allowReviewAsked;
    std::vector<std::wstring> askedSessions;
    bool rowWritable = true;
    bool fileWritable = true;

    // The lost-manikin box: its answer (true = Retry); may re-enter the session.
    std::function<bool(Session&)> retryBox = [](Session&) { return false; };
    int retryBoxes = 0;

    // What a replay's data file holds: the number of measurements read, or
    // -1 when the file cannot be read.
    int replayMeasurements = -1;

    std::map<std::string, std::vector<ScenarioEvent>> scenarios;
    std::vector<std::string> persons;
    bool endSound = false;
    bool cardiacOutput = false;
    std::string time = "10:00";
    int beeps = 0;
    Signal<> metronomeSignal;
    FakeGraphPage* graph = nullptr;
    FakeReviewPage* review = nullptr;
};

// The tab view of the session frame, logging what the manager asks of it.
class FakeTabView : public SessionTabView {
public:
    void addSession(Session& session, SessionContainer* container) override;
    void removeSession(Session& session, SessionContainer*) override;
    void selectSession(Session& session) override { selected = &session; }
    Session* activeSession() const override { return selected; }
    void activateFrame() override { ++activations; }

    std::vector<Session*> tabs;
    std::vector<SessionContainer*> containers;
    Session* selected = nullptr;
    int activations = 0;
};

// Records each session's updates and, when asked, the order in which sessions are told.
class UpdateLog : public UpdateReceiver {
public:
    UpdateLog(std::vector<std::string>* shared = nullptr, std::string tag = {})
        : shared(shared)
        , tag(std::move(tag))
    {
    }
    void update(int newestIndex) override
    {
        indexes.push_back(newestIndex);
        if (shared)
            shared->push_back(tag);
    }
    std::vector<int> indexes;
    std::vector<std::string>* shared;
    std::string tag;
};

} // namespace sessiontest
