// Replays the fuzzers' corpora as plain tests, so every build checks them.
#include "CpbFuzz.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<std::vector<std::uint8_t>> corpus(const std::string& name)
{
    return testsupport::corpusInputs(std::string(CORPUS_DIR) + "/" + name);
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
