// Replays the exchange-file corpus through the fuzz target, and judges each
// seed by its name: good-* files are read whole, bad-* files are refused.
#include "Database/SessionsFile.h"

#include "DbUiFake.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

TEST(SessionsFuzzCorpus, SeedsReplayAndAreJudgedByTheirNames)
{
    testsupport::LogCapture log;
    dbtest::FakeUi ui;
    int good = 0;
    int bad = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SESSIONS_CORPUS_DIR)) {
        std::string path = entry.path().string();
        std::string name = entry.path().filename().string();
        std::string bytes = testsupport::readFile(path);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());

        ui.boxes.clear();
        std::vector<SessionRecord> records = readSessionsFile(path);
        if (name.rfind("good-", 0) == 0) {
            ++good;
            EXPECT_FALSE(records.empty()) << name;
            EXPECT_TRUE(ui.boxes.empty()) << name;
        } else if (name.rfind("bad-", 0) == 0) {
            ++bad;
            EXPECT_TRUE(records.empty()) << name;
            EXPECT_EQ(ui.boxes.size(), 1u) << name;
        }
    }
    EXPECT_GE(good, 2);
    EXPECT_GE(bad, 5);
}

} // namespace
