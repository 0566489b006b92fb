// Replays the fuzzers' corpora as plain tests, so every build checks them.
#include "CpbFuzz.h"

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

TEST(CpbCorpus, Replies)
{
    auto inputs = corpus("replies");
    ASSERT_FALSE(inputs.empty());
    for (const auto& input : inputs)
        EXPECT_EQ(fuzzReplies(input.data(), input.size()), 0);
}

TEST(CpbCorpus, Memory)
{
    auto inputs = corpus("memory");
    ASSERT_FALSE(inputs.empty());
    for (const auto& input : inputs)
        EXPECT_EQ(fuzzMemory(input.data(), input.size()), 0);
}

} // namespace
