#pragma once
// What the program reads from its command line at start-up, apart from the
// language: demonstration mode, the communication delay and the filter dump.
#include <optional>
#include <string>

struct StartupOptions {
    // "demo" anywhere on the command line, even inside another word.
    bool demo = false;
    // "dumpdata" anywhere on the command line.
    bool dumpData = false;
    // The value after "commdelay:" when it is a decimal number; a negative
    // number gives 0. Absent for no value or a value that is not a number.
    std::optional<int> commDelay;
};

// Reads the options; an unusable "commdelay:" value is reported in the error log.
StartupOptions readStartupOptions(const std::string& commandLine);

// The help file for a language: "razeduv_<code>.html" in `folder` when it
// exists there, else the English one in that folder.
std::string helpFilePath(const std::string& folder, const std::string& languageCode);
