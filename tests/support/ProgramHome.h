#pragma once
// A private home for the program under a test: configuration, ports and
// working folders of its own, the working folder made current and the sound
// device silenced. Leaving it ends demonstration mode and leaves the folder.
#include "comm/CommSettings.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

class ProgramHome {
public:
    ProgramHome()
    {
        ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
        ::setenv("TAVO_PORTS_DIR", dir.file("ports").c_str(), 1);
        ::setenv("TAVO_SOUND_DEVICE", "null", 1);
        std::filesystem::create_directories(dir.file("ports"));
        std::filesystem::create_directories(dir.file("work"));
        std::filesystem::current_path(dir.file("work"));
    }
    ~ProgramHome()
    {
        CommSettings::setDemoMode(false);
        std::filesystem::current_path("/");
    }
    ProgramHome(const ProgramHome&) = delete;
    ProgramHome& operator=(const ProgramHome&) = delete;

    std::string file(const std::string& name) const { return dir.file(name); }

private:
    TempDir dir;
};

} // namespace testsupport
