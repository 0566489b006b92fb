#pragma once
// The main window: an MDI frame with the menu built from translated texts,
// the toolbar, a status bar on screens tall enough for one, and the program's
// one heartbeat, a 50 ms timer that polls every session and then drives the
// metronome. It stays open while a session refuses to close.
#include "platform/Sound.h"
#include "session/Metronome.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <map>

class QMdiArea;
class QMenu;
class QToolBar;
class TrainingApp;

class CMainFrame : public QMainWindow {
public:
    // The heartbeat's period: one sample period at 20 samples per second.
    static constexpr int tickMilliseconds = 1000 / 20;

    explicit CMainFrame(TrainingApp& app);
    ~CMainFrame() override;

    QMdiArea* mdiClient() const { return mdi; }
    QToolBar* toolBar() const { return tools; }
    // The action of a command id in the menu or toolbar, or null.
    QAction* commandAction(int id) const;

    // One heartbeat: every session is polled, then the metronome clicks when due.
    void onTimer();
    // A command of the menu, toolbar or keys; true when the frame or the
    // application handled it.
    bool onCommand(int id);
    // Switches the metronome on (with a click at once) or off.
    void toggleMetronome();
    bool metronomeOn() const { return metronome.isOn(); }
    // Whether clicks go to the sound device (else they beep).
    bool hasWaveDevice() const { return sound.hasDevice(); }
    // Enables the commands by the current state of the sessions.
    void updateCommandStates();
    // Lists the visible child frames in the Window menu.
    void refreshWindowMenu();
    // Window > Tile: the visible frames side by side in the client area.
    void tileWindows();
    void cascadeWindows();

    // The timer, for tests that drive ticks themselves.
    QTimer& heartbeat() { return timer; }
    // Plays a click (tests replace it to count clicks).
    std::function<void()> playClick;
    // Plays the end-of-session sound through the metronome's sound output,
    // or beeps where there is no sound device (tests replace it to count).
    std::function<void()> playEndSound;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMainMenu();
    void buildToolBar();
    void click();
    void endSound();

    TrainingApp& app;
    QMdiArea* mdi = nullptr;
    QToolBar* tools = nullptr;
    QMenu* windowMenu = nullptr;
    QAction* windowListStart = nullptr;
    std::map<int, QAction*> toolActions;
    QTimer timer;
    Metronome metronome;
    platform::SoundPlayer sound;
};
