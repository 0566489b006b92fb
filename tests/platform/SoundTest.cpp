// The click and the end-of-session sound through ALSA: on the "null" device
// they play without waiting, a click still playing is not cut off and the
// end sound cuts a click off; a device that does not exist fails at once, so
// the program can beep instead.
#include "platform/Sound.h"
#include "support/TestSupport.h"

#include <alsa/asoundlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

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

TEST_F(SoundTest, EndSoundOnTheNullDeviceAfterAClick)
{
    ::setenv("TAVO_SOUND_DEVICE", "null", 1);
    platform::SoundPlayer player;
    ASSERT_TRUE(player.hasDevice()) << player.openError();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(player.playClick());
    EXPECT_TRUE(player.playEndSound());
    EXPECT_TRUE(player.playEndSound()) << "a second end sound starts again";
    EXPECT_TRUE(player.playClick());
    // The end sound lasts about half a second: nothing waited for it.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

TEST_F(SoundTest, NoDeviceFailsCleanly)
{
    ::setenv("TAVO_SOUND_DEVICE", "hw:97,0", 1);
    platform::SoundPlayer player;
    EXPECT_FALSE(player.hasDevice());
    EXPECT_NE(player.openError().find("hw:97,0"), std::string::npos) << player.openError();
    EXPECT_FALSE(player.playClick());
    EXPECT_FALSE(player.playEndSound());
}

// A device of our own through ALSA's configuration: a buffer of `bufferMs`
// that drains in real time, writing what it takes to a file.
class SmallDevice {
public:
    explicit SmallDevice(int bufferMs, bool refuse = false)
    {
        const std::string conf = dir.file("asound.conf");
        std::ofstream(conf) << "pcm_type.tavosink { lib \"" << TEST_SINK_LIBRARY << "\" }\n"
                            << "pcm.tavosmall { type tavosink file \"" << output() << "\" buffer_bytes "
                            << platform::SoundPlayer::sampleRate * 2 * bufferMs / 1000 << " refuse " << (refuse ? 1 : 0)
                            << " }\n";
        ::setenv("ALSA_CONFIG_PATH", (std::string(snd_config_topdir()) + "/alsa.conf:" + conf).c_str(), 1);
        ::setenv("TAVO_SOUND_DEVICE", "tavosmall", 1);
    }
    ~SmallDevice() { ::unsetenv("ALSA_CONFIG_PATH"); }
    std::string output() const { return dir.file("played.raw"); }

private:
    testsupport::TempDir dir;
};

// The end sound is longer than the buffer: what does not fit is written on
// the following ticks, and the device takes every frame of it.
TEST_F(SoundTest, EndSoundLongerThanTheBufferIsToppedUpToItsEnd)
{
    SmallDevice device(100);
    const auto& samples = platform::SoundPlayer::endSamples();
    std::string played;
    {
        platform::SoundPlayer player;
        ASSERT_TRUE(player.hasDevice()) << player.openError();
        EXPECT_TRUE(player.playEndSound());
        EXPECT_TRUE(player.hasPending()) << "a tenth of a second holds only part of the sound";
        EXPECT_TRUE(player.playClick()) << "a click is dropped, not mixed in";
        // The heartbeat, for at most three times the sound's length.
        for (int tick = 0; tick < 36 && player.hasPending(); ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_EQ(player.topUp(), platform::SoundPlayer::TopUp::Fine) << tick;
        }
        EXPECT_FALSE(player.hasPending());
        played = testsupport::readFile(device.output());
    }
    ASSERT_EQ(played.size(), samples.size() * 2);
    EXPECT_EQ(std::memcmp(played.data(), samples.data(), played.size()), 0);
}

// A device that refuses the samples: the sound is not reported as played.
TEST_F(SoundTest, RefusedSoundIsReportedAsRefused)
{
    SmallDevice device(100, true);
    platform::SoundPlayer player;
    ASSERT_TRUE(player.hasDevice()) << player.openError();
    EXPECT_FALSE(player.playEndSound());
    EXPECT_FALSE(player.hasPending());
    EXPECT_FALSE(player.playClick());
}

// A stream that plays a script: it takes at most `room` frames until it is
// topped up again, the machine sleeps once `suspendAt` frames were taken, and
// asking it to resume gives `resumes`' results in turn, then -EAGAIN for ever.
struct Script {
    std::size_t room = 0;
    std::size_t suspendAt = SIZE_MAX;
    std::deque<int> resumeResults;
    int prepareResult = 0;

    platform::PcmStream::State state = platform::PcmStream::State::Prepared;
    std::vector<std::int16_t> taken;
    int resumes = 0;
    int prepares = 0;
};

class ScriptedStream : public platform::PcmStream {
public:
    explicit ScriptedStream(Script& script) : s(script) {}
    State state() override { return s.state; }
    long write(const std::int16_t* frames, std::size_t count) override
    {
        if (s.taken.size() >= s.suspendAt) {
            s.state = State::Suspended; // the machine sleeps once
            s.suspendAt = SIZE_MAX;
        }
        if (s.state == State::Suspended)
            return -ESTRPIPE;
        const std::size_t n = std::min({ count, s.room, s.suspendAt - s.taken.size() });
        if (n == 0)
            return -EAGAIN;
        s.taken.insert(s.taken.end(), frames, frames + n);
        s.room -= n;
        return static_cast<long>(n);
    }
    int prepare() override
    {
        ++s.prepares;
        if (s.prepareResult < 0)
            return s.prepareResult;
        s.state = State::Prepared;
        return 0;
    }
    int start() override
    {
        s.state = State::Running;
        return 0;
    }
    int drop() override
    {
        s.state = State::Other;
        return 0;
    }
    int resume() override
    {
        ++s.resumes;
        int rc = -EAGAIN;
        if (!s.resumeResults.empty()) {
            rc = s.resumeResults.front();
            s.resumeResults.pop_front();
        }
        if (rc == 0)
            s.state = State::Running;
        return rc;
    }
    long delay() override { return 0; }

private:
    Script& s;
};

using TopUp = platform::SoundPlayer::TopUp;

// One heartbeat: the device drained `room` frames. A tick asks a suspended
// device at most once to resume, it never waits for it.
TopUp tick(platform::SoundPlayer& player, Script& script, std::size_t room)
{
    script.room = room;
    const int before = script.resumes;
    const TopUp outcome = player.topUp();
    EXPECT_LE(script.resumes - before, 1) << "a tick asked the device to resume more than once";
    return outcome;
}

// The machine sleeps under the end sound; the device comes back after some
// ticks (just within the bound at the most) and the sound plays on where it
// stopped, to its end.
TEST(SuspendedSound, ResumesOnALaterTickAndPlaysToTheEnd)
{
    const auto& samples = platform::SoundPlayer::endSamples();
    for (int busy : { 0, 7, platform::SoundPlayer::resumeTicks - 1 }) {
        SCOPED_TRACE(busy);
        Script script;
        script.room = 2000;
        script.suspendAt = 3000;
        script.resumeResults.assign(busy, -EAGAIN);
        script.resumeResults.push_back(0);
        platform::SoundPlayer player(std::make_unique<ScriptedStream>(script));
        ASSERT_TRUE(player.playEndSound());
        for (int t = 0; t < 1000 && player.hasPending(); ++t)
            ASSERT_EQ(tick(player, script, 2000), TopUp::Fine) << t;
        EXPECT_FALSE(player.hasPending());
        EXPECT_EQ(script.resumes, busy + 1);
        EXPECT_EQ(script.prepares, 0);
        EXPECT_TRUE(script.taken == samples) << script.taken.size() << " of " << samples.size() << " frames";
        EXPECT_FALSE(player.givenUp());
        EXPECT_TRUE(player.playClick());
    }
}

// A device that never comes back is given up after the bound, told once;
// it is asked no more and the sounds report failure, so the caller beeps.
TEST(SuspendedSound, NeverResumingDeviceIsGivenUpOnce)
{
    Script script;
    script.room = 100000;
    script.suspendAt = 1000;
    platform::SoundPlayer player(std::make_unique<ScriptedStream>(script));
    ASSERT_TRUE(player.playEndSound());
    std::vector<int> givenUpAt;
    for (int t = 0; t < platform::SoundPlayer::resumeTicks + 50; ++t) {
        const TopUp outcome = tick(player, script, 100000);
        if (outcome == TopUp::GivenUp)
            givenUpAt.push_back(t);
        else
            EXPECT_EQ(outcome, TopUp::Fine) << t;
    }
    EXPECT_EQ(givenUpAt, std::vector<int>{ platform::SoundPlayer::resumeTicks - 1 });
    EXPECT_EQ(script.resumes, platform::SoundPlayer::resumeTicks);
    EXPECT_TRUE(player.givenUp());
    EXPECT_FALSE(player.hasPending());
    EXPECT_FALSE(player.playClick());
    EXPECT_FALSE(player.playEndSound());
    EXPECT_EQ(script.taken.size(), 1000u);
}

// A device that cannot resume is prepared afresh: the rest of the sound
// plays; when it cannot be prepared either, the rest is reported refused.
TEST(SuspendedSound, DeviceThatCannotResumeIsPrepared)
{
    const auto& samples = platform::SoundPlayer::endSamples();
    for (int prepareResult : { 0, -EBUSY }) {
        SCOPED_TRACE(prepareResult);
        Script script;
        script.room = 2000;
        script.suspendAt = 3000;
        script.resumeResults = { -ENOSYS };
        platform::SoundPlayer player(std::make_unique<ScriptedStream>(script));
        ASSERT_TRUE(player.playEndSound());
        script.prepareResult = prepareResult;
        std::vector<TopUp> outcomes;
        for (int t = 0; t < 1000 && player.hasPending(); ++t)
            outcomes.push_back(tick(player, script, 2000));
        EXPECT_FALSE(player.hasPending());
        EXPECT_EQ(script.resumes, 1);
        EXPECT_EQ(script.prepares, 1);
        EXPECT_FALSE(player.givenUp());
        if (prepareResult == 0) {
            EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), TopUp::Fine), long(outcomes.size()));
            EXPECT_TRUE(script.taken == samples) << script.taken.size() << " of " << samples.size() << " frames";
        } else {
            EXPECT_EQ(outcomes.back(), TopUp::Refused);
            EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), TopUp::Refused), 1);
            EXPECT_EQ(script.taken.size(), 3000u);
        }
    }
}

// Three tones, each higher than the next, with silence between them.
TEST(EndSamples, ThreeFallingTones)
{
    const auto& samples = platform::SoundPlayer::endSamples();
    const double seconds = static_cast<double>(samples.size()) / platform::SoundPlayer::sampleRate;
    EXPECT_GT(seconds, 0.3);
    EXPECT_LT(seconds, 1.0);
    // Cut at the silences: runs of at least 10 ms of zeros.
    const std::size_t silence = platform::SoundPlayer::sampleRate / 100;
    std::vector<std::pair<std::size_t, std::size_t>> tones;
    std::size_t zeros = 0, begin = 0;
    bool inTone = false;
    for (std::size_t i = 0; i <= samples.size(); ++i) {
        const bool quiet = i == samples.size() || samples[i] == 0;
        zeros = quiet ? zeros + 1 : 0;
        if (!quiet && !inTone) {
            begin = i;
            inTone = true;
        } else if (inTone && (zeros >= silence || i == samples.size())) {
            tones.emplace_back(begin, i - zeros + 1);
            inTone = false;
        }
    }
    ASSERT_EQ(tones.size(), 3u);
    std::vector<double> pitches;
    for (auto [from, to] : tones) {
        int crossings = 0, loudest = 0;
        for (std::size_t i = from + 1; i < to; ++i) {
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
            loudest = std::max(loudest, std::abs(int(samples[i])));
        }
        EXPECT_GT(loudest, 8000);
        pitches.push_back(crossings / 2.0 / (static_cast<double>(to - from) / platform::SoundPlayer::sampleRate));
    }
    EXPECT_GT(pitches[0], pitches[1] * 1.1);
    EXPECT_GT(pitches[1], pitches[2] * 1.1);
    EXPECT_GT(pitches[2], 400.0);
    EXPECT_LT(pitches[0], 3000.0);
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
