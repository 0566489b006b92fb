#include "session/AxisModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(AxisModel, ConversionsCountASampleAtTheMiddleOfItsPeriod)
{
    AxisModel axis(20.0);
    EXPECT_EQ(axis.msOfIndex(0), 25u);
    EXPECT_EQ(axis.msOfIndex(1199), 59975u);
    EXPECT_EQ(axis.msOfIndex(1200), 60025u);
    EXPECT_EQ(axis.indexesForMs(20000), 400);
    EXPECT_EQ(axis.indexesForMs(5000), 100);
    AxisModel slow(10.0);
    EXPECT_EQ(slow.indexesForMs(3600000), 36000);
    testsupport::LogCapture log;
    AxisModel broken(0.0);
    EXPECT_TRUE(log.hasAssertion("rate != 0.0"));
    EXPECT_GT(broken.indexesForMs(1000), 0);
}

// A 20-second window at 20 samples a second pages forward by half its span.
TEST(AxisModel, LiveWindowFollowsTheNewestSampleAndPagesByHalfItsSpan)
{
    AxisModel axis(20.0);
    axis.setViewIndexes(axis.indexesForMs(20000));
    EXPECT_EQ(axis.viewIndexes, 400);
    EXPECT_EQ(axis.viewMoveIndexes, 200);
    EXPECT_EQ(axis.leftIndex, 0);

    auto u = axis.update(10, true, false, -1);
    EXPECT_EQ(u.step, AxisModel::Step::segment);
    EXPECT_EQ(u.from, 0);
    EXPECT_EQ(u.to, 10);
    u = axis.update(400, true, false, -1);
    EXPECT_EQ(u.step, AxisModel::Step::segment);
    EXPECT_EQ(u.from, 10);
    EXPECT_EQ(axis.update(400, true, false, -1).step, AxisModel::Step::none);
    u = axis.update(401, true, false, -1);
    EXPECT_EQ(u.step, AxisModel::Step::page);
    EXPECT_EQ(axis.leftIndex, 200);
    // A long pause in the ticks pages as often as needed.
    u = axis.update(1350, true, false, -1);
    EXPECT_EQ(u.step, AxisModel::Step::page);
    EXPECT_EQ(axis.leftIndex, 1000);
    EXPECT_EQ(axis.lastUpdateIndex, 1350);

    // A new span keeps the newest sample in view, on a paging step.
    axis.setViewIndexes(axis.indexesForMs(10000));
    EXPECT_EQ(axis.leftIndex, 1200);
    EXPECT_LE(axis.lastUpdateIndex, axis.leftIndex + axis.viewIndexes);
}

TEST(AxisModel, SetDurationEndsTheSessionAtTheFirstSampleBeyondIt)
{
    struct Case {
        const char* name;
        double rate;
        int duration;
        bool hasArea;
        bool finished;
        int newest;
        bool ends;
    };
    const Case cases[] = {
        { "59.975 s of 60", 20.0, 60, true, false, 1199, false },
        { "60.025 s of 60", 20.0, 60, true, false, 1200, true },
        { "no area still ends", 20.0, 60, false, false, 1200, true },
        { "no area before the end", 20.0, 60, false, false, 1199, false },
        { "no set duration", 20.0, -1, true, false, 2000000, false },
        { "finished never ends again", 20.0, 60, true, true, 5000, false },
        { "10 samples a second", 10.0, 600, true, false, 6000, true },
        { "10 samples a second, just before", 10.0, 600, true, false, 5999, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AxisModel axis(c.rate);
        axis.setViewIndexes(axis.indexesForMs(20000));
        axis.update(5, c.hasArea, c.finished, c.duration);
        const int before = axis.lastUpdateIndex;
        auto u = axis.update(c.newest, c.hasArea, c.finished, c.duration);
        EXPECT_EQ(u.step == AxisModel::Step::endOfTime, c.ends);
        if (c.ends) {
            EXPECT_EQ(axis.leftIndex, 0);
            EXPECT_EQ(axis.lastUpdateIndex, before); // the crossing sample is not drawn
        }
    }
}

TEST(AxisModel, TickStepsAndLabelPositions)
{
    AxisModel axis(20.0);
    struct Case {
        int spanMs;
        int width;
        int step;
    };
    // "000:00" 40 pixels wide.
    const Case cases[] = {
        { 9000, 400, 1000 },      // under 10 seconds: every second
        { 10000, 400, 5000 },     // two labels fit
        { 10000, 40, 20000 },     // one label fits
        { 60000, 400, 20000 },    // 12 would not fit in 10
        { 3600000, 400, 600000 }, // an hour
        { 3600000, 40, 1200000 }, // nothing fits
    };
    for (const Case& c : cases) {
        axis.setRange(0, axis.indexesForMs(c.spanMs));
        EXPECT_EQ(axis.tickStep(c.width, 40), c.step) << c.spanMs << " " << c.width;
    }
    axis.setRange(0, 200);
    EXPECT_EQ(axis.tickIndexes(1000), (std::vector<int> { 20, 40, 60, 80, 100, 120, 140, 160, 180 }));
    axis.setRange(30, 100);
    EXPECT_EQ(axis.tickIndexes(1000), (std::vector<int> { 40, 60, 80, 100, 120 }));
    char text[16];
    AxisModel::labelText(axis.msOfIndex(1300), text, sizeof text);
    EXPECT_STREQ(text, "1:05");
}

TEST(AxisModel, ZoomInOutAndAll)
{
    AxisModel axis(20.0);
    axis.setRange(0, 400);
    axis.zoomIn(100, 300); // a drag
    EXPECT_EQ(axis.leftIndex, 100);
    EXPECT_EQ(axis.viewIndexes, 200);
    axis.zoomIn(150, 150); // a click halves around it
    EXPECT_EQ(axis.viewIndexes, 100);
    EXPECT_EQ(axis.leftIndex, 100);
    axis.zoomIn(120, 140); // below 5 seconds: exactly 5 seconds centred
    EXPECT_EQ(axis.viewIndexes, 100);
    EXPECT_EQ(axis.leftIndex, 80);
    axis.zoomIn(10, 12); // near the start: from 0
    EXPECT_EQ(axis.leftIndex, 0);

    // A right click at minute 35 of a 40-minute window: the hour from 0.
    axis.setRange(0, axis.indexesForMs(40 * 60000));
    axis.zoomOut(axis.indexesForMs(35 * 60000));
    EXPECT_EQ(axis.leftIndex, 0);
    EXPECT_EQ(axis.viewIndexes, axis.indexesForMs(3600000));
    axis.setRange(1000, 400);
    axis.zoomOut(1200);
    EXPECT_EQ(axis.leftIndex, 800);
    EXPECT_EQ(axis.viewIndexes, 800);
    EXPECT_EQ(axis.viewMoveIndexes, 400);

    AxisModel empty(20.0);
    empty.zoomAll(); // before any sample: 5 seconds at 0
    EXPECT_EQ(empty.leftIndex, 0);
    EXPECT_EQ(empty.viewIndexes, 100);
}

} // namespace
