// Replays the data-file fuzzer's corpus as a plain test, so every build checks it.
#include "DataFileFuzz.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(SessionDataFileCorpus, EveryInputReadsWithoutBreakingTheRules)
{
    const auto inputs = testsupport::corpusInputs(std::string(CORPUS_DIR) + "/datafile");
    EXPECT_GE(inputs.size(), 5u);
    for (const auto& input : inputs)
        EXPECT_EQ(fuzzSessionDataFile(input.data(), input.size()), 0);
}
