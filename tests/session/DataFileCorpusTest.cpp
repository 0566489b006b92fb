// Replays the data-file fuzzer's corpus as a plain test, so every build checks it.
#include "DataFileFuzz.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

TEST(SessionDataFileCorpus, EveryInputReadsWithoutBreakingTheRules)
{
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(CORPUS_DIR) + "/datafile")) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(fuzzSessionDataFile(bytes.data(), bytes.size()), 0) << entry.path();
        ++inputs;
    }
    EXPECT_GE(inputs, 5);
}
