#pragma once
// How the program's sessions reach the rest of it: the session manager seen
// by the main frame and the commands, and the services a session asks of the
// program (its boxes, the configuration, the clock, the metronome).
#include "session/LiveSessions.h"
#include "session/SessionServices.h"
#include <memory>

class AppSessionFrames;
class SessionFrames;
class SessionManager;
class TrainingApp;

class SessionManagerLink : public LiveSessions {
public:
    explicit SessionManagerLink(SessionManager& manager) : manager(manager) {}

    void poll() override;
    bool canCloseAll() override;
    int getCount() override;
    int runningCount() override;
    void startAll() override;
    void pauseAll() override;
    void showSessionView() override;
    void showSurveillance() override;
    void selectTab(int n) override;
    bool activeSessionPrintable() override;
    void printActiveSession() override;

private:
    SessionManager& manager;
};

class AppSessionServices : public SessionServices {
public:
    explicit AppSessionServices(TrainingApp& app);
    ~AppSessionServices() override;

    std::unique_ptr<SessionContainer> createContainer(Session& session) override;
    std::unique_ptr<GraphPageWindow> createGraphPage(Session& session) override;
    std::unique_ptr<SessionPageWindow> createDebriefPage(Session& session) override;
    std::unique_ptr<ReviewPageWindow> createReviewPage(Session& session) override;

    SaveAnswer askSaveSession(Session& session, bool allowReview) override;
    bool askRetryLostManikin(Session& session) override;
    void showReplayReadError(Session& session) override;
    void showSession(Session& session) override;

    bool saveDataFile(Session& session) override;
    bool loadDataFile(Session& session) override;

    std::vector<ScenarioEvent> scenarioEvents(const std::string& scenario) override;
    void addPerson(const std::string& name) override;

    bool endSoundOn() override;
    void playEndSound() override;
    bool cardiacOutputShown() override;
    std::string localTimeText() override;
    void beep() override;
    Signal<>* metronome() override;

    // Opens the session frame for the session manager.
    SessionFrames& frames();

private:
    TrainingApp& app;
    std::unique_ptr<AppSessionFrames> sessionFrames;
};
