#include "platform/OsDescription.h"

#include <fstream>
#include <sstream>
#include <sys/utsname.h>

namespace platform {

namespace {

std::string unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string readFile(const char* path)
{
    std::ifstream in(path);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::string distributionName(const std::string& osReleaseText)
{
    std::string pretty, name;
    std::istringstream lines(osReleaseText);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("PRETTY_NAME=", 0) == 0)
            pretty = unquote(line.substr(12));
        else if (line.rfind("NAME=", 0) == 0)
            name = unquote(line.substr(5));
    }
    return pretty.empty() ? name : pretty;
}

std::optional<std::string> osDescription()
{
    utsname info {};
    if (uname(&info) != 0)
        return std::nullopt;
    std::string line = std::string(info.sysname) + " " + info.release + " " + info.version;
    std::string distribution = readFile("/etc/os-release");
    if (distribution.empty())
        distribution = readFile("/usr/lib/os-release");
    distribution = distributionName(distribution);
    if (!distribution.empty())
        line += " (" + distribution + ")";
    return line;
}

} // namespace platform
