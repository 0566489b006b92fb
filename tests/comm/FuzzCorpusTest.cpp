// Replays the fuzzers' corpora as plain tests, so every build checks them.
#include "DeviceBytesFuzz.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<std::vector<std::uint8_t>> corpus(const std::string& name)
{
    return testsupport::corpusInputs(std::string(CORPUS_DIR) + "/" + name);
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
