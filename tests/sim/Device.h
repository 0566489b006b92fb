#pragma once
#include "sim/PseudoTerminal.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// A simulated device behind a pseudo-terminal linked as COM<port> into a
// ports folder. It runs on its own thread, because the program blocks its
// only thread in sleeps while it talks to a device. Subclasses react to the
// bytes the program sends (onByte) and may produce bytes on their own (onIdle).
class Device {
public:
    Device(std::string portsFolder, int port);
    // Every subclass stops the thread in its own destructor, before its handlers go.
    virtual ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Creates the pseudo-terminal, links it and starts the device thread.
    bool start();
    // Stops the thread and closes the device end.
    void stop();

    // The cable is pulled: the device end closes, the program's line hangs up.
    void pullCable();
    // The cable goes back in: a new pseudo-terminal behind the same COM link.
    bool plugIn();

    // Clear-to-send as the program sees it (through the simulator's modem lines).
    void setCts(bool on);
    // The device reads nothing until released (busy, or a slow line): what
    // the program writes meanwhile stays on the line and is heard after
    // releaseReading, at the speed the program's end has then.
    void holdReading();
    void releaseReading();
    // Waits until the program waits for its written bytes to be read (as it
    // does before it changes the line's speed); false after `limit` without.
    bool waitForProgramDraining(std::chrono::milliseconds limit);
    // Whether the device has read every byte the program wrote.
    bool lineEmpty() const;
    // Whether the line is quiet: the device has read all the program wrote
    // and sent all it queued to send (late answers too).
    bool quiet() const;

    std::string devicePath() const;
    int port() const { return portNumber; }
    // Every byte the program sent, in order.
    Bytes received() const;
    void clearReceived();

protected:
    virtual void onByte(std::uint8_t byte, int programBaud) = 0;
    virtual void onIdle(Clock::time_point) {}
    // The program closed its end (a device sees its DTR drop): stop talking.
    virtual void onDisconnect() {}
    // The CTS a new line starts with.
    virtual bool initialCts() const { return true; }

    // Queues bytes to go out after `delayMs`, in order with earlier ones.
    void send(const Bytes& bytes, int delayMs = 0);
    // Drops everything not sent yet.
    void cancelPending();
    // Pulls the cable from inside a handler, once the handler returns.
    void requestPullCable() { pullRequested = true; }

    mutable std::mutex mutex;

private:
    void run();
    bool openTerminal();
    void flushDue(Clock::time_point now);

    struct Pending {
        Clock::time_point due;
        Bytes bytes;
    };

    std::string folder;
    int portNumber;
    std::unique_ptr<PseudoTerminal> terminal;
    std::thread thread;
    std::atomic<bool> stopping { false };
    std::deque<Pending> pending;
    Bytes log;
    bool cts = true;
    bool pullRequested = false;
    bool connected = false;
    bool readingHeld = false;
    bool programDraining = false;
    std::condition_variable drainingChanged;
};

} // namespace sim
