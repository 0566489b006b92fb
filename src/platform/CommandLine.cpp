#include "platform/CommandLine.h"

namespace platform {

std::string joinCommandLine(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 0; i < argc; ++i) {
        std::string argument = argv[i] ? argv[i] : "";
        if (i > 0)
            line += ' ';
        if (argument.find(' ') != std::string::npos)
            line += '"' + argument + '"';
        else
            line += argument;
    }
    return line;
}

} // namespace platform
