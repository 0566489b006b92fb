#include "platform/SerialLine.h"
#include "platform/ModemLines.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

struct BaudEntry {
    int rate;
    speed_t code;
};

constexpr BaudEntry baudTable[] = {
    { 1200, B1200 }, { 2400, B2400 }, { 4800, B4800 }, { 9600, B9600 },
    { 19200, B19200 }, { 38400, B38400 }, { 57600, B57600 }, { 115200, B115200 },
};

bool baudCode(int rate, speed_t& code)
{
    for (const auto& entry : baudTable)
        if (entry.rate == rate) {
            code = entry.code;
            return true;
        }
    return false;
}

int baudRate(speed_t code)
{
    for (const auto& entry : baudTable)
        if (entry.code == code)
            return entry.rate;
    return 0;
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool pollFor(int fd, short events, int timeoutMs, short& revents)
{
    pollfd p { fd, events, 0 };
    int n;
    do
        n = ::poll(&p, 1, timeoutMs);
    while (n < 0 && errno == EINTR);
    revents = n > 0 ? p.revents : 0;
    return n >= 0;
}

} // namespace

SerialLine::~SerialLine() { close(); }

std::string SerialLine::portsFolder()
{
    std::string folder = environment("TAVO_PORTS_DIR");
    if (!folder.empty())
        return folder;
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty())
        config = environment("HOME") + "/.config";
    return config + "/tavo/ports";
}

std::string SerialLine::devicePath(int portNumber)
{
    if (portNumber < 1 || portNumber > 256)
        return {};
    std::string link = portsFolder() + "/COM" + std::to_string(portNumber);
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0)
        return link;
    // $TAVO_TTY_DIR lets tests keep the machine's own serial ports out of a search.
    std::string devices = environment("TAVO_TTY_DIR");
    return (devices.empty() ? std::string("/dev") : devices) + "/ttyS" + std::to_string(portNumber - 1);
}

SerialLine::OpenResult SerialLine::open(int portNumber)
{
    close();
    port = portNumber;
    std::string path = devicePath(portNumber);
    if (path.empty())
        return OpenResult::NotFound;
    int handle = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        // A serial driver without hardware behind the node answers EIO or ENXIO.
        int error = errno;
        if (error == ENOENT || error == ENODEV || error == ENXIO || error == EIO || error == ENOTDIR)
            return OpenResult::NotFound;
        return OpenResult::Unavailable;
    }
    // flock also keeps out root, which TIOCEXCL lets through.
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        ::close(handle);
        return OpenResult::Unavailable;
    }
    ::ioctl(handle, TIOCEXCL);
    char resolved[PATH_MAX];
    devicePathName = ::realpath(path.c_str(), resolved) ? resolved : path;
    fd = handle;
    return OpenResult::Opened;
}

SerialLine::OpenResult SerialLine::reopen()
{
    int number = port;
    return open(number);
}

bool SerialLine::close()
{
    if (fd < 0)
        return true;
    ::ioctl(fd, TIOCNXCL);
    ::flock(fd, LOCK_UN);
    int result = ::close(fd);
    fd = -1;
    return result == 0;
}

bool SerialLine::getState(LineState& state) const
{
    termios settings {};
    if (fd < 0 || ::tcgetattr(fd, &settings) != 0)
        return false;
    state.baudRate = baudRate(cfgetospeed(&settings));
    state.dtr = lastDtr;
    state.rts = lastRts;
    return true;
}

bool SerialLine::setState(const LineState& state)
{
    termios settings {};
    speed_t speed;
    if (fd < 0 || !baudCode(state.baudRate, speed) || ::tcgetattr(fd, &settings) != 0)
        return false;
    // A byte still queued would reach the device at the new speed, or after
    // its lines dropped. A line that cannot be drained fails below if at all.
    drainOutput();
    // Raw mode matters: a cooked line would turn the records' CR into LF and echo.
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, speed);
    ::cfsetospeed(&settings, speed);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0)
        return false;
    if (!modemLines().setDtrRts(fd, devicePathName, state.dtr, state.rts))
        return false;
    lastDtr = state.dtr;
    lastRts = state.rts;
    return true;
}

bool SerialLine::readCts(bool& cts) const
{
    if (fd < 0)
        return false;
    return modemLines().readCts(fd, devicePathName, cts);
}

bool SerialLine::drainOutput()
{
    if (fd < 0)
        return false;
    return modemLines().waitUntilSent(fd, devicePathName);
}

bool SerialLine::discardInput()
{
    if (fd < 0)
        return false;
    return ::tcflush(fd, TCIFLUSH) == 0;
}

int SerialLine::readSome(unsigned char* buffer, std::size_t capacity)
{
    if (fd < 0)
        return -1;
    ssize_t n;
    do
        n = ::read(fd, buffer, capacity);
    while (n < 0 && errno == EINTR);
    if (n > 0)
        return static_cast<int>(n);
    if (n < 0)
        return errno == EAGAIN ? 0 : -1;
    // A zero-wait read also returns 0 on a line that has gone; poll tells them apart.
    return hungUp() ? -1 : 0;
}

bool SerialLine::writeAll(const unsigned char* data, std::size_t size, int waits, int waitMs)
{
    if (fd < 0)
        return false;
    std::size_t done = 0;
    int waited = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return false;
        if (waited++ >= waits)
            return false;
        short revents = 0;
        if (!pollFor(fd, POLLOUT, waitMs, revents) || (revents & (POLLERR | POLLHUP | POLLNVAL)))
            return false;
    }
    return true;
}

bool SerialLine::hungUp() const
{
    if (fd < 0)
        return true;
    short revents = 0;
    if (!pollFor(fd, POLLIN, 0, revents))
        return true;
    return (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace platform
