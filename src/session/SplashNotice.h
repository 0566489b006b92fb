#pragma once
// What this program tells the splash program that started it: the first time
// it waits for input (so that no box of ours sits hidden under the picture)
// and that its main window is up. Both go as 32-bit words, least significant
// byte first, on the pipe whose descriptor the splash program names.
#include <QObject>

#include <cstdint>
#include <memory>

class SplashNotice {
public:
    // The word for "the main window is up".
    static constexpr std::uint32_t windowUpWord = 0x0614C329;
    // The word for "the program waits for input".
    static constexpr std::uint32_t inputIdleWord = 0x1D1E0614;

    // The variable that names the splash program's pipe.
    static constexpr const char* variable = "TAVO_SPLASH_FD";
    // The descriptor TAVO_SPLASH_FD names when it is the write end of a
    // pipe (never a standard stream), else -1. The variable is removed once
    // read, so that no program started from here inherits it.
    static int descriptorFromEnvironment();
    explicit SplashNotice(int fd) : fd(fd) {}
    ~SplashNotice();
    SplashNotice(const SplashNotice&) = delete;
    SplashNotice& operator=(const SplashNotice&) = delete;

    bool active() const { return fd >= 0; }
    // Sends the idle word once, the first time the event loop of this thread
    // is about to wait.
    void watchForIdle();
    void inputIdle();
    // Sends the window-up word and closes the pipe: nothing follows it. Waits
    // (at most `waitMs`, handling everything but user input) until the splash
    // program has gone, so that the windows under its picture repaint before
    // the start-up goes on with work that blocks.
    void windowUp(int waitMs = 1000);

private:
    bool send(std::uint32_t word);

    int fd = -1;
    bool idleSent = false;
    // Ends the watch when this object goes.
    std::unique_ptr<QObject> watch;
};
