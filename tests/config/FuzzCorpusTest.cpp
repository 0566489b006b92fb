// Replays the fuzz corpus through the fuzz target, so every seed (and every
// input the fuzzer once found and was added there) is checked on each run.
#include "config/ConfigurationFile.h"

#include "support/TestSupport.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

TEST(ConfigurationFuzzCorpus, SeedsReplayAndAreJudgedByTheirNames)
{
    testsupport::LogCapture log;
    int good = 0;
    int bad = 0;
    for (const auto& entry : std::filesystem::directory_iterator(CONFIG_CORPUS_DIR)) {
        std::string path = entry.path().string();
        std::string name = entry.path().filename().string();
        std::string bytes = testsupport::readFile(path);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());

        PropertyModel model;
        bool taken = ConfigurationFile::loadFile(path, model);
        if (name.rfind("good-", 0) == 0) {
            ++good;
            EXPECT_TRUE(taken) << name;
        } else if (name.rfind("bad-", 0) == 0) {
            ++bad;
            EXPECT_FALSE(taken) << name;
        }
    }
    EXPECT_GE(good, 3);
    EXPECT_GE(bad, 5);
}

} // namespace
