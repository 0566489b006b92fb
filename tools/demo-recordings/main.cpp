// Writes the demonstration recordings, or a recording made to order, with
// their ground truth.
#include "Performances.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void usage(std::FILE* to)
{
    std::fputs("usage:\n"
               "  demo-recordings --demo-sets FOLDER\n"
               "      the three demonstration sets: FOLDER/<resource id>.bin and FOLDER/set<n>.csv\n"
               "  demo-recordings --out FOLDER --name NAME [--length SAMPLES] [--seed N]\n"
               "                  [--zero COMPRESSION,VENTILATION] [--mistakes M,M,...]\n"
               "      a 30:2 performance: NAME.compression.bin, NAME.ventilation.bin,\n"
               "      NAME.status.bin and NAME.csv (the ground truth)\n"
               "mistakes (made in every second cycle):",
               to);
    for (demo::Mistake m : demo::allMistakes())
        std::fprintf(to, " %s", demo::mistakeName(m));
    std::fputs("\n", to);
}

bool toInt(const char* text, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0';
}

int failWith(const std::string& message)
{
    std::fprintf(stderr, "demo-recordings: %s\n", message.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string demoFolder, outFolder, name;
    demo::PerformanceOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        }
        if (i + 1 >= argc)
            return usage(stderr), failWith("missing value after " + arg);
        const char* value = argv[++i];
        long number = 0;
        if (arg == "--demo-sets")
            demoFolder = value;
        else if (arg == "--out")
            outFolder = value;
        else if (arg == "--name")
            name = value;
        else if (arg == "--length") {
            if (!toInt(value, number) || number < 1 || number > 10'000'000)
                return failWith("bad --length");
            options.length = static_cast<int>(number);
        } else if (arg == "--seed") {
            if (!toInt(value, number) || number < 0)
                return failWith("bad --seed");
            options.seed = static_cast<std::uint64_t>(number);
        } else if (arg == "--zero") {
            std::string text = value;
            auto comma = text.find(',');
            long c = 0, v = 0;
            if (comma == std::string::npos || !toInt(text.substr(0, comma).c_str(), c)
                || !toInt(text.substr(comma + 1).c_str(), v) || c < 0 || v < 0 || c > 200 || v > 200)
                return failWith("bad --zero (two numbers 0 to 200)");
            options.zeroCompression = static_cast<int>(c);
            options.zeroVentilation = static_cast<int>(v);
        } else if (arg == "--mistakes") {
            std::istringstream list(value);
            std::string word;
            while (std::getline(list, word, ',')) {
                auto m = demo::mistakeFromName(word);
                if (!m)
                    return failWith("unknown mistake " + word);
                options.mistakes.push_back(*m);
            }
        } else {
            usage(stderr);
            return failWith("unknown option " + arg);
        }
    }

    std::string error;
    if (!demoFolder.empty()) {
        if (!demo::writeDemoSets(demoFolder, &error))
            return failWith(error);
        return 0;
    }
    if (outFolder.empty() || name.empty()) {
        usage(stderr);
        return 2;
    }
    if (!demo::writeRecording(demo::perform(options), outFolder, name, &error))
        return failWith(error);
    return 0;
}
