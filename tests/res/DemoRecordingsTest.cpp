#include "platform/Resources.h"
#include "res/DemoRecordings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DemoRecordings, AreRegisteredAsBinResourcesEqualToTheCommittedFiles)
{
    res::registerDemoRecordings();
    for (int id = 169; id <= 177; ++id) {
        SCOPED_TRACE(id);
        auto r = platform::findResource("BIN", id);
        ASSERT_NE(r.data, nullptr);
        ASSERT_EQ(r.size, 1275u);
        std::string file = testsupport::readFile(std::string(TAVO_DEMO_DIR) + "/" + std::to_string(id) + ".bin");
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), r.size), file);
    }
    EXPECT_EQ(platform::findResource("BIN", 168).data, nullptr);
    EXPECT_EQ(platform::findResource("BIN", 178).data, nullptr);

    // A second call (another start-up path) registers the same bytes again.
    auto before = platform::findResource("BIN", 173);
    res::registerDemoRecordings();
    auto after = platform::findResource("BIN", 173);
    EXPECT_EQ(after.data, before.data);
    EXPECT_EQ(after.size, before.size);
}

} // namespace
