#pragma once
// What the application and its main frame ask of the live sessions: the
// heartbeat's poll, the shut-down question, the menu commands and the figures
// their enable conditions read.
class LiveSessions {
public:
    virtual ~LiveSessions() = default;

    // Polls every session in the order they were created.
    virtual void poll() = 0;
    // Asks every session whether to save; false at the first refusal.
    virtual bool canCloseAll() = 0;
    virtual int getCount() = 0;
    virtual int runningCount() = 0;
    virtual void startAll() = 0;
    virtual void pauseAll() = 0;
    virtual void showSessionView() = 0;
    virtual void showSurveillance() = 0;
    // Selects session tab n (1 to 10), or beeps.
    virtual void selectTab(int n) = 0;
    // The active session collects or shows its debriefing and is not running.
    virtual bool activeSessionPrintable() = 0;
    // Prints the active session (its evaluation or its graphs).
    virtual void printActiveSession() = 0;
};
