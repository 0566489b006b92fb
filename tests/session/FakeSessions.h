#pragma once
// Sessions as the main frame and the commands see them, recording what they
// were asked.
#include "session/LiveSessions.h"

#include <functional>
#include <string>
#include <vector>

class FakeSessions : public LiveSessions {
public:
    explicit FakeSessions(std::vector<std::string>& calls) : calls(calls) {}

    void poll() override
    {
        calls.push_back("poll");
        ++polls;
        if (onPoll)
            onPoll();
    }
    bool canCloseAll() override
    {
        calls.push_back("canCloseAll");
        return agreeToClose;
    }
    int getCount() override { return count; }
    int runningCount() override { return running; }
    void startAll() override { calls.push_back("startAll"); }
    void pauseAll() override { calls.push_back("pauseAll"); }
    void showSessionView() override { calls.push_back("showSessionView"); }
    void showSurveillance() override { calls.push_back("showSurveillance"); }
    void selectTab(int n) override { calls.push_back("selectTab " + std::to_string(n)); }
    bool activeSessionPrintable() override { return printable; }
    void printActiveSession() override { calls.push_back("print"); }

    std::vector<std::string>& calls;
    std::function<void()> onPoll;
    int polls = 0;
    int count = 0;
    int running = 0;
    bool printable = false;
    bool agreeToClose = true;
};
