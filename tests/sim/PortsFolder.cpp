#include "sim/PortsFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sim {

PortsFolder::PortsFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavo-ports-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        folder = pattern;
    if (const char* old = std::getenv("TAVO_PORTS_DIR")) {
        hadPrevious = true;
        previous = old;
    }
    ::setenv("TAVO_PORTS_DIR", folder.c_str(), 1);
    // The machine's own serial ports stay out of the tests.
    ::setenv("TAVO_TTY_DIR", folder.c_str(), 1);
}

PortsFolder::~PortsFolder()
{
    if (hadPrevious)
        ::setenv("TAVO_PORTS_DIR", previous.c_str(), 1);
    else
        ::unsetenv("TAVO_PORTS_DIR");
    ::unsetenv("TAVO_TTY_DIR");
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::remove_all(folder, ignored);
}

bool PortsFolder::link(int port, const std::string& target) const
{
    std::string name = folder + "/COM" + std::to_string(port);
    ::unlink(name.c_str());
    return ::symlink(target.c_str(), name.c_str()) == 0;
}

OtherProgramHolding::OtherProgramHolding(const std::string& devicePath)
{
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0)
        return;
    if (::pipe(release) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return;
    }
    pid_t pid = ::fork();
    if (pid == 0) {
        int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY);
        char ok = (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? 1 : 0;
        (void)!::write(ready[1], &ok, 1);
        char ignored;
        (void)!::read(release[0], &ignored, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    releasePipe = release[1];
    child = pid;
    char ok = 0;
    holding = pid > 0 && ::read(ready[0], &ok, 1) == 1 && ok == 1;
    ::close(ready[0]);
}

OtherProgramHolding::~OtherProgramHolding() { release(); }

void OtherProgramHolding::release()
{
    if (releasePipe >= 0) {
        (void)!::write(releasePipe, "x", 1);
        ::close(releasePipe);
        releasePipe = -1;
    }
    if (child > 0)
        ::waitpid(child, nullptr, 0);
    child = -1;
    holding = false;
}

} // namespace sim
