#include "sim/PseudoTerminal.h"

#include <cstdio>
#include <cstdlib>
#include <climits>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

PseudoTerminal::PseudoTerminal()
{
    int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        ::close(fd);
        return;
    }
    char name[128];
    if (::ptsname_r(fd, name, sizeof name) != 0) {
        ::close(fd);
        return;
    }
    // The device end never echoes or translates: it is a wire, not a terminal.
    termios settings {};
    if (::tcgetattr(fd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(fd, TCSANOW, &settings);
    }
    master = fd;
    slavePath = name;
}

PseudoTerminal::~PseudoTerminal() { close(); }

bool PseudoTerminal::linkAs(const std::string& folder, int port)
{
    std::string link = folder + "/COM" + std::to_string(port);
    std::string temporary = link + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(slavePath.c_str(), temporary.c_str()) != 0)
        return false;
    if (std::rename(temporary.c_str(), link.c_str()) != 0)
        return false;
    linkPath = link;
    return true;
}

void PseudoTerminal::removeLink()
{
    if (linkPath.empty())
        return;
    // Only a link that still leads here: a re-plugged device has its own.
    char target[PATH_MAX];
    ssize_t n = ::readlink(linkPath.c_str(), target, sizeof target - 1);
    if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == slavePath)
        ::unlink(linkPath.c_str());
    linkPath.clear();
}

int PseudoTerminal::programBaud() const
{
    termios settings {};
    if (master < 0 || ::tcgetattr(master, &settings) != 0)
        return 0;
    switch (cfgetospeed(&settings)) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

void PseudoTerminal::close()
{
    if (master < 0)
        return;
    // Once both ends are closed the system gives this terminal's number to
    // the next one opened, perhaps by another test running beside this one:
    // the port must not lead there, as an unplugged port leads nowhere.
    removeLink();
    ::close(master);
    master = -1;
}

} // namespace sim
