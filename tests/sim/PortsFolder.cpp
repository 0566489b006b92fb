#include "sim/PortsFolder.h"

#include <cstdlib>
#include <filesystem>
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

} // namespace sim
