// Replays the fuzzers' corpora as plain tests, so every build checks them.
#include "DeviceBytesFuzz.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

std::vector<std::vector<std::uint8_t>> corpus(const std::string& name)
{
    std::vector<std::vector<std::uint8_t>> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(CORPUS_DIR) + "/" + name)) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return inputs;
}

TEST(DeviceBytesCorpus, QueryRecords)
{
    auto inputs = corpus("records");
    ASSERT_FALSE(inputs.empty());
    for (const auto& input : inputs)
        EXPECT_EQ(fuzzQueryRecords(input.data(), input.size()), 0);
}

TEST(DeviceBytesCorpus, Frames)
{
    auto inputs = corpus("frames");
    ASSERT_FALSE(inputs.empty());
    for (const auto& input : inputs)
        EXPECT_EQ(fuzzFrames(input.data(), input.size()), 0);
}

} // namespace
