#include "splash/SplashLogic.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace splash {

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

} // namespace

std::string joinArguments(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += ' ';
        if (argument.find(' ') != std::string::npos && argument.front() != '"')
            line += '"' + argument + '"';
        else
            line += argument;
    }
    return line;
}

std::string childCommandLine(const std::string& ownLine)
{
    return ownLine.empty() ? std::string("main") : "main " + ownLine;
}

std::string iniFileName(const std::string& ownLine)
{
    static const std::string marker = "custom:";
    const auto at = ownLine.find(marker);
    if (at == std::string::npos)
        return "splash.ini";
    const auto start = at + marker.size();
    if (start >= ownLine.size() || ownLine[start] == ' ')
        return "splash.ini";
    const auto end = ownLine.find(' ', start);
    return ownLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::optional<std::string> iniPath(const std::string& executablePath, const std::string& iniName)
{
    const auto slash = executablePath.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    std::string path = executablePath.substr(0, slash + 1) + iniName;
    if (path.size() >= maxPath)
        return std::nullopt;
    return path;
}

std::string readIniValue(const std::string& path, const std::string& section, const std::string& key)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        const std::string text = trimmed(line);
        if (text.empty() || text[0] == ';')
            continue;
        if (text.front() == '[') {
            const auto close = text.find(']');
            inSection = close != std::string::npos && sameIgnoringCase(trimmed(text.substr(1, close - 1)), section);
            continue;
        }
        if (!inSection)
            continue;
        const auto equals = text.find('=');
        if (equals == std::string::npos || !sameIgnoringCase(trimmed(text.substr(0, equals)), key))
            continue;
        std::string value = trimmed(text.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.size() > maxIniValue)
            value.resize(maxIniValue);
        return value;
    }
    return {};
}

void trace(const std::string& text)
{
    static const bool wanted = [] {
        const char* value = std::getenv(splashTraceVariable);
        return value != nullptr && std::string(value) == "1";
    }();
    if (!wanted)
        return;
    std::fprintf(stderr, "Splash: \"%s\"\n", text.c_str());
    std::fflush(stderr);
}

} // namespace splash
