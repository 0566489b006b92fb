// The click through ALSA: on the "null" device it plays without waiting and
// a click still playing is not cut off; a device that does not exist fails
// at once, so the metronome can beep instead.
#include "platform/Sound.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace {

class SoundTest : public testing::Test {
protected:
    void TearDown() override { ::unsetenv("TAVO_SOUND_DEVICE"); }
};

TEST_F(SoundTest, ClickOnTheNullDevice)
{
    ::setenv("TAVO_SOUND_DEVICE", "null", 1);
    platform::SoundPlayer player;
    ASSERT_TRUE(player.hasDevice()) << player.openError();
    EXPECT_TRUE(player.openError().empty());
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(player.playClick()) << i;
    // Twenty clicks of 20 ms each played one after the other would take 400 ms.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

TEST_F(SoundTest, NoDeviceFailsCleanly)
{
    ::setenv("TAVO_SOUND_DEVICE", "hw:97,0", 1);
    platform::SoundPlayer player;
    EXPECT_FALSE(player.hasDevice());
    EXPECT_NE(player.openError().find("hw:97,0"), std::string::npos) << player.openError();
    EXPECT_FALSE(player.playClick());
}

TEST(ClickSamples, ShortToneDyingAway)
{
    const auto& samples = platform::SoundPlayer::clickSamples();
    ASSERT_EQ(samples.size(), platform::SoundPlayer::sampleRate / 50);
    int loudestStart = 0;
    int loudestEnd = 0;
    for (std::size_t i = 0; i < samples.size() / 4; ++i)
        loudestStart = std::max(loudestStart, std::abs(int(samples[i])));
    for (std::size_t i = samples.size() * 3 / 4; i < samples.size(); ++i)
        loudestEnd = std::max(loudestEnd, std::abs(int(samples[i])));
    EXPECT_GT(loudestStart, 10000);
    EXPECT_LT(loudestEnd, loudestStart / 4);
}

} // namespace
