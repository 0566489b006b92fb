#include "sim/Device.h"

#include "sim/SimModemLines.h"

#include <future>

#include <cerrno>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace sim {

namespace {

// A real device has a processor of its own and answers in time however busy
// the computer is. The simulator shares the test's processors with the
// program and with everything else on the machine, so its thread asks for a
// share that keeps it ahead of ordinary work: a low real-time priority where
// that is allowed, else a lower nice value. Where neither is allowed it runs
// as it is.
void takeDeviceSchedulingShare()
{
    sched_param param {};
    param.sched_priority = 1;
    if (::pthread_setschedparam(::pthread_self(), SCHED_RR, &param) == 0)
        return;
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), -10);
}

} // namespace

Device::Device(std::string portsFolder, int port)
    : folder(std::move(portsFolder))
    , portNumber(port)
{
}

Device::~Device() { stop(); }

bool Device::openTerminal()
{
    auto next = std::make_unique<PseudoTerminal>();
    if (!next->isOpen() || !next->linkAs(folder, portNumber))
        return false;
    SimModemLines::install().registerDevice(next->devicePath(), cts, [this] {
        {
            std::lock_guard lock(mutex);
            programDraining = true;
        }
        drainingChanged.notify_all();
        return lineEmpty();
    });
    std::lock_guard lock(mutex);
    terminal = std::move(next);
    return true;
}

bool Device::start()
{
    cts = initialCts();
    if (!openTerminal())
        return false;
    stopping = false;
    // The device is ready when its thread runs: a test may open the port
    // only once the device listens, as a powered device would.
    std::promise<void> running;
    std::future<void> ready = running.get_future();
    thread = std::thread([this, running = std::move(running)]() mutable {
        takeDeviceSchedulingShare();
        running.set_value();
        run();
    });
    ready.wait();
    return true;
}

void Device::stop()
{
    stopping = true;
    if (thread.joinable())
        thread.join();
    // Forgotten without holding the mutex: the modem lines ask the device
    // (under its mutex) while they hold their own.
    std::string path = devicePath();
    if (!path.empty())
        SimModemLines::install().forget(path);
    std::lock_guard lock(mutex);
    if (terminal)
        terminal->close();
}

void Device::pullCable()
{
    // The device thread closes its end itself: a close while it sits in poll
    // would only take effect when the poll returns.
    {
        std::lock_guard lock(mutex);
        if (!thread.joinable()) {
            pending.clear();
            if (terminal)
                terminal->close();
            return;
        }
        pullRequested = true;
    }
    for (int i = 0; i < 1000; ++i) {
        {
            std::lock_guard lock(mutex);
            if (!pullRequested)
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool Device::plugIn()
{
    std::string old = devicePath();
    if (!openTerminal())
        return false;
    if (!old.empty())
        SimModemLines::install().forget(old);
    return true;
}

void Device::setCts(bool on)
{
    std::string path;
    {
        std::lock_guard lock(mutex);
        cts = on;
        if (terminal)
            path = terminal->devicePath();
    }
    if (!path.empty())
        SimModemLines::install().setCts(path, on);
}

void Device::holdReading()
{
    std::lock_guard lock(mutex);
    readingHeld = true;
    programDraining = false;
}

void Device::releaseReading()
{
    std::lock_guard lock(mutex);
    readingHeld = false;
}

bool Device::waitForProgramDraining(std::chrono::milliseconds limit)
{
    std::unique_lock lock(mutex);
    return drainingChanged.wait_for(lock, limit, [this] { return programDraining; });
}

bool Device::lineEmpty() const
{
    std::lock_guard lock(mutex);
    if (!terminal || !terminal->isOpen())
        return true;
    int queued = 0;
    return ::ioctl(terminal->descriptor(), FIONREAD, &queued) != 0 || queued == 0;
}

bool Device::quiet() const
{
    std::lock_guard lock(mutex);
    if (!pending.empty())
        return false;
    int queued = 0;
    return !terminal || !terminal->isOpen() || ::ioctl(terminal->descriptor(), FIONREAD, &queued) != 0 || queued == 0;
}

std::string Device::devicePath() const
{
    std::lock_guard lock(mutex);
    return terminal ? terminal->devicePath() : std::string();
}

Bytes Device::received() const
{
    std::lock_guard lock(mutex);
    return log;
}

void Device::clearReceived()
{
    std::lock_guard lock(mutex);
    log.clear();
}

void Device::send(const Bytes& bytes, int delayMs)
{
    // Called with the mutex held, from onByte or onIdle.
    Clock::time_point due = Clock::now() + std::chrono::milliseconds(delayMs);
    if (!pending.empty() && pending.back().due > due)
        due = pending.back().due;
    pending.push_back({ due, bytes });
}

void Device::cancelPending() { pending.clear(); }

void Device::flushDue(Clock::time_point now)
{
    while (!pending.empty() && pending.front().due <= now && terminal && terminal->isOpen()) {
        Bytes& bytes = pending.front().bytes;
        ssize_t n = ::write(terminal->descriptor(), bytes.data(), bytes.size());
        if (n < 0) {
            // The program's end is closed, or its buffer is full: try again later.
            break;
        }
        if (static_cast<std::size_t>(n) < bytes.size()) {
            bytes.erase(bytes.begin(), bytes.begin() + n);
            break;
        }
        pending.pop_front();
    }
}

void Device::run()
{
    std::uint8_t buffer[512];
    while (!stopping) {
        int fd;
        {
            std::lock_guard lock(mutex);
            fd = terminal && terminal->isOpen() ? terminal->descriptor() : -1;
        }
        if (fd < 0) {
            std::lock_guard lock(mutex);
            pullRequested = false;
        }
        if (fd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        bool stalled;
        {
            std::lock_guard lock(mutex);
            stalled = readingHeld;
        }
        if (stalled) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        pollfd p { fd, POLLIN, 0 };
        ::poll(&p, 1, 1);
        std::lock_guard lock(mutex);
        if (!terminal || terminal->descriptor() != fd)
            continue;
        // A hold that began while the thread waited in poll holds from here on.
        if (readingHeld)
            continue;
        if (pullRequested) {
            pullRequested = false;
            pending.clear();
            terminal->close();
            continue;
        }
        ssize_t n = (p.revents & POLLIN) ? ::read(fd, buffer, sizeof buffer) : 0;
        bool programGone = n < 0 || (n == 0 && (p.revents & (POLLHUP | POLLERR)));
        if (programGone && connected) {
            connected = false;
            pending.clear();
            onDisconnect();
        } else if (n > 0) {
            connected = true;
        }
        if (n > 0) {
            int baud = terminal->programBaud();
            for (ssize_t i = 0; i < n; ++i) {
                log.push_back(buffer[i]);
                onByte(buffer[i], baud);
            }
        } else if (n < 0 || (p.revents & (POLLHUP | POLLERR))) {
            // Nobody has the program's end open: wait without spinning.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (pullRequested) {
            pullRequested = false;
            pending.clear();
            terminal->close();
            continue;
        }
        auto now = Clock::now();
        onIdle(now);
        flushDue(now);
    }
}

} // namespace sim
