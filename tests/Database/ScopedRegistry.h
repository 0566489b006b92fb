#pragma once
// A registry store of the test's own for the life of the object: the
// installation key with the values given (none when `values` is empty).
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace dbtest {

class ScopedRegistry {
public:
    // `values`: lines such as "Data Folder=sz:/srv/cpr\n".
    explicit ScopedRegistry(const std::string& values)
    {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            previous = old;
        hadPrevious = std::getenv("XDG_CONFIG_HOME") != nullptr;
        ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        std::filesystem::create_directories(dir.path() + "/tavo");
        std::ofstream ini(dir.path() + "/tavo/registry.ini");
        if (!values.empty())
            ini << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tavo\\Tavo CPR\\2.3]\n" << values;
    }
    ~ScopedRegistry()
    {
        if (hadPrevious)
            ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

private:
    testsupport::TempDir dir;
    std::string previous;
    bool hadPrevious = false;
};

} // namespace dbtest
