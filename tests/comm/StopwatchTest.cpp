#include "comm/CommUtil.h"
#include "comm/Stopwatch.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class StopwatchTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setClock(&clock); }
    void TearDown() override { platform::setClock(nullptr); }
    platform::ManualClock clock;
};

TEST_F(StopwatchTest, StandsAtZeroUntilStarted)
{
    Stopwatch watch;
    clock.advance(500);
    EXPECT_FALSE(watch.isRunning());
    EXPECT_EQ(watch.elapsed(), 0);
    watch.start();
    clock.advance(120);
    EXPECT_EQ(watch.elapsed(), 120);
}

TEST_F(StopwatchTest, PausesLeaveOutTheirTime)
{
    Stopwatch watch;
    watch.start();
    clock.advance(100);
    watch.pause();
    clock.advance(1000);
    EXPECT_EQ(watch.elapsed(), 100);
    watch.resume();
    clock.advance(50);
    EXPECT_EQ(watch.elapsed(), 150);
    watch.pause();
    watch.pause(); // a second pause changes nothing
    clock.advance(10);
    watch.resume();
    watch.resume();
    clock.advance(5);
    EXPECT_EQ(watch.elapsed(), 155);
}

TEST_F(StopwatchTest, RestartKeepsTheRunningState)
{
    Stopwatch running;
    running.start();
    clock.advance(300);
    running.restart();
    EXPECT_TRUE(running.isRunning());
    clock.advance(40);
    EXPECT_EQ(running.elapsed(), 40);

    Stopwatch paused;
    paused.start();
    clock.advance(300);
    paused.pause();
    paused.restart();
    clock.advance(40);
    EXPECT_FALSE(paused.isRunning());
    EXPECT_EQ(paused.elapsed(), 0);
    paused.resume();
    clock.advance(7);
    EXPECT_EQ(paused.elapsed(), 7);
}

TEST(CommUtil, SplitsSixteenBitNumbersAndFlagsLargerOnes)
{
    testsupport::LogCapture log;
    EXPECT_EQ(CommUtil::lowByte(0x1234), 0x34);
    EXPECT_EQ(CommUtil::highByte(0x1234), 0x12);
    EXPECT_EQ(CommUtil::lowByte(65535), 255);
    EXPECT_FALSE(log.hasAssertion("number <= 65535"));
    EXPECT_EQ(CommUtil::highByte(65536), 256);
    EXPECT_TRUE(log.hasAssertion("number <= 65535"));
}

} // namespace
