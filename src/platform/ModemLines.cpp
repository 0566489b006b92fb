#include "platform/ModemLines.h"

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace platform {

namespace {

bool hasNoModemLines(int error) { return error == ENOTTY || error == EINVAL; }

bool hungUp(int fd)
{
    pollfd p { fd, 0, 0 };
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

TermiosModemLines ttyLines;
ModemLines* current = &ttyLines;

} // namespace

bool ModemLines::waitUntilSent(int fd, const std::string&)
{
    int result;
    do
        result = ::tcdrain(fd);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

bool TermiosModemLines::readCts(int fd, const std::string&, bool& cts)
{
    int status = 0;
    if (::ioctl(fd, TIOCMGET, &status) == 0) {
        cts = (status & TIOCM_CTS) != 0;
        return true;
    }
    if (!hasNoModemLines(errno) || hungUp(fd))
        return false;
    cts = true;
    return true;
}

bool TermiosModemLines::setDtrRts(int fd, const std::string&, bool dtr, bool rts)
{
    int dtrBit = TIOCM_DTR;
    int rtsBit = TIOCM_RTS;
    if (::ioctl(fd, dtr ? TIOCMBIS : TIOCMBIC, &dtrBit) != 0)
        return hasNoModemLines(errno);
    if (::ioctl(fd, rts ? TIOCMBIS : TIOCMBIC, &rtsBit) != 0)
        return hasNoModemLines(errno);
    return true;
}

ModemLines& modemLines() { return *current; }

void setModemLines(ModemLines* replacement) { current = replacement ? replacement : &ttyLines; }

} // namespace platform
