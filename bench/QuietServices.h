#pragma once
// Session services for the benchmarks: no windows, files or tables.
#include "session/SessionServices.h"

#include <memory>
#include <string>
#include <vector>

namespace bench {

class QuietServices : public SessionServices {
public:
    std::unique_ptr<SessionContainer> createContainer(Session&) override { return nullptr; }
    std::unique_ptr<GraphPageWindow> createGraphPage(Session&) override { return nullptr; }
    std::unique_ptr<SessionPageWindow> createDebriefPage(Session&) override { return nullptr; }
    std::unique_ptr<ReviewPageWindow> createReviewPage(Session&) override { return nullptr; }
    SaveAnswer askSaveSession(Session&, bool) override { return SAVE_NO; }
    bool askRetryLostManikin(Session&) override { return false; }
    void showReplayReadError(Session&) override {}
    void showSession(Session&) override {}
    bool saveDataFile(Session&) override { return true; }
    bool loadDataFile(Session&) override { return false; }
    std::vector<ScenarioEvent> scenarioEvents(const std::string&) override { return {}; }
    void addPerson(const std::string&) override {}
    bool endSoundOn() override { return false; }
    void playEndSound() override {}
    bool cardiacOutputShown() override { return false; }
    std::string localTimeText() override { return "10:00"; }
    void beep() override {}
    void printSession(Session&, bool) override {}
    Signal<>* metronome() override { return nullptr; }
};

} // namespace bench
