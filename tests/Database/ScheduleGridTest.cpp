#include "Database/ScheduleGrid.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class FakeSource : public ScheduleGridSource {
public:
    ScheduleScenario scenario(const std::string& name) override
    {
        auto it = scenarios.find(name);
        return it == scenarios.end() ? ScheduleScenario() : it->second;
    }
    int firstAvailablePort() override { return port; }

    std::map<std::string, ScheduleScenario> scenarios;
    int port = 1;
};

CourseRecord fields(const std::string& instructor, const std::string& time = "09:00")
{
    CourseRecord course;
    course.Instructor = instructor;
    course.Date = "2026-12-10";
    course.Time = time;
    course.DefaultScenario = "Basic";
    course.Note.clear();
    return course;
}

class ScheduleGridTest : public testing::Test {
protected:
    void SetUp() override
    {
        ScheduleScenario basic;
        basic.duration = 300;
        basic.trainingMode = 2;
        basic.algorithm = "Adult";
        source.scenarios["Basic"] = basic;
    }

    // Types a participant into the placeholder and refreshes, as leaving the box does.
    void typeIntoPlaceholder(const std::string& name)
    {
        const int last = grid.size() - 1;
        ScheduleGrid::RowTexts texts = textsOf(last);
        texts.ventilation = name;
        grid.readRow(last, texts);
        grid.refresh(course);
    }

    ScheduleGrid::RowTexts textsOf(int row) const
    {
        const SessionRecord& r = grid.rows()[row];
        return {r.PersonVentilation, r.PersonChestCompression, std::to_string(r.Manikin), r.StartTime, r.EndTime};
    }

    // n real rows and the placeholder, the grid at the top.
    void plan(int n)
    {
        grid.refresh(course);
        for (int i = 0; i < n; ++i)
            typeIntoPlaceholder("P" + std::to_string(i));
        grid.goToTop();
        grid.refresh(course);
        grid.setModified(false);
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const SessionRecord& r : grid.rows())
            out.push_back(r.PersonVentilation);
        return out;
    }

    FakeSource source;
    ScheduleGrid grid {source};
    CourseRecord course = fields("Jo");
};

// A course whose last stored row has no participants (run without names,
// with results): loading appends a fresh placeholder, so that row stays a
// row of its own and is stored again.
TEST_F(ScheduleGridTest, ALoadedLastRowWithoutParticipantsIsNoPlaceholder)
{
    SessionRecord named;
    named.Serialidentifier = "named";
    named.PersonVentilation = "Ann";
    SessionRecord anonymous;
    anonymous.Serialidentifier = "anonymous";
    anonymous.Done = 1;
    anonymous.CompDepth = 47.5;
    grid.load({named, anonymous});
    grid.goToTop();
    grid.refresh(course);
    ASSERT_EQ(grid.size(), 3);
    EXPECT_EQ(grid.rows()[1].Serialidentifier, "anonymous");
    EXPECT_TRUE(grid.detailsEnabled(1));
    EXPECT_NE(grid.rows()[2].Serialidentifier, "anonymous");
    EXPECT_TRUE(CourseSchedule::isPlaceholder(grid.rows()[2]));
    EXPECT_FALSE(grid.modified());
    // Refreshed again, or typed into: one placeholder only.
    grid.refresh(course);
    EXPECT_EQ(grid.size(), 3);

    // An empty course still gets its single placeholder.
    grid.load({});
    grid.refresh(course);
    EXPECT_EQ(grid.size(), 1);
}

TEST_F(ScheduleGridTest, AnIncompleteKeyLocksTheRowsUntilTheCourseCanBeStored)
{
    // The planner's first look: "Instructor" for a blank date and time
    // (masked edits read as blanks and separators). Such a course cannot be
    // stored, so its rows stay locked: nothing of them could be saved.
    CourseRecord blank = fields("Instructor", "  :  ");
    blank.Date = "    -  -  ";
    EXPECT_TRUE(grid.refresh(blank));
    ASSERT_EQ(grid.size(), 1);
    EXPECT_TRUE(grid.locked());
    EXPECT_FALSE(grid.detailsEnabled(0));
    EXPECT_EQ(grid.rows()[0].StartTime, "00:02");
    EXPECT_EQ(grid.rows()[0].EndTime, "00:07");
    // A date typed only in part is no date either.
    blank.Date = "2026-12-1 ";
    blank.Time = "09:00";
    grid.refresh(blank);
    EXPECT_TRUE(grid.locked());

    // New course: no instructor, so the single placeholder is locked.
    grid.load({});
    grid.goToTop();
    grid.refresh(fields(""));
    EXPECT_TRUE(grid.locked());
    EXPECT_EQ(grid.size(), 1);
    EXPECT_EQ(grid.selected(), 0);
    EXPECT_FALSE(grid.detailsEnabled(0));
    grid.select(1);
    EXPECT_EQ(grid.selected(), 0) << "a locked row is never selected";
    EXPECT_FALSE(grid.sortByStartTime());

    grid.refresh(course);
    EXPECT_FALSE(grid.locked());
    EXPECT_EQ(grid.selected(), 1);
    EXPECT_EQ(grid.top(), 0);
}

TEST_F(ScheduleGridTest, TypingIntoThePlaceholderAppendsTheNextOne)
{
    source.port = 3;
    grid.refresh(course);
    typeIntoPlaceholder("Ann");
    ASSERT_EQ(grid.size(), 2);
    EXPECT_TRUE(grid.modified());
    // Same manikin: a minute after the row above ends.
    EXPECT_EQ(grid.rows()[1].StartTime, "09:08");
    EXPECT_EQ(grid.rows()[1].Manikin, 3);
    EXPECT_EQ(grid.rows()[1].Scenario, "Basic");
    EXPECT_EQ(grid.rows()[1].TrainingMode, 2);
    EXPECT_EQ(grid.rows()[1].CourseInstructor, "Jo");

    source.port = 4;
    typeIntoPlaceholder("Bob");
    ASSERT_EQ(grid.size(), 3);
    // Another manikin: with the row above.
    EXPECT_EQ(grid.rows()[2].StartTime, "09:08");
    EXPECT_EQ(grid.rows()[2].EndTime, "09:13");

    // A refresh without a participant in the placeholder appends nothing.
    EXPECT_FALSE(grid.refresh(course));
    EXPECT_EQ(grid.size(), 3);
}

TEST_F(ScheduleGridTest, ReadingRowsBackMarksTheScheduleChanged)
{
    plan(1);
    ScheduleGrid::RowTexts texts = textsOf(0);
    EXPECT_FALSE(grid.readRow(0, texts));
    EXPECT_FALSE(grid.modified());

    const std::vector<std::pair<std::string, int>> manikins {{"12", 12}, {" 7x", 7}, {"abc", 0}, {"", 0}};
    for (const auto& [text, number] : manikins) {
        SCOPED_TRACE(text);
        texts.manikin = text;
        grid.readRow(0, texts);
        EXPECT_EQ(grid.rows()[0].Manikin, number);
    }
    EXPECT_TRUE(grid.modified());
}

TEST_F(ScheduleGridTest, RowCommandsFollowTheSelectionAndRefuseWhatIsNotAllowed)
{
    plan(3); // P0 P1 P2 and the placeholder, row 1 selected
    EXPECT_FALSE(grid.moveRowUp()) << "the first row";
    grid.select(3);
    EXPECT_FALSE(grid.moveRowDown()) << "the row above the placeholder";
    grid.select(4);
    EXPECT_FALSE(grid.removeRow()) << "the placeholder";
    EXPECT_FALSE(grid.moveRowUp()) << "the placeholder";
    EXPECT_FALSE(grid.modified());

    grid.select(2);
    const std::string firstStart = grid.rows()[0].StartTime;
    EXPECT_TRUE(grid.moveRowUp());
    EXPECT_EQ(names(), (std::vector<std::string> {"P1", "P0", "P2", ""}));
    EXPECT_EQ(grid.rows()[0].StartTime, firstStart) << "times stay with the positions";
    EXPECT_EQ(grid.selected(), 1);
    EXPECT_TRUE(grid.modified());

    EXPECT_TRUE(grid.moveRowDown());
    EXPECT_EQ(grid.selected(), 2);
    EXPECT_TRUE(grid.removeRow());
    EXPECT_EQ(names(), (std::vector<std::string> {"P0", "P2", ""}));
    EXPECT_EQ(grid.selected(), 2);

    // Nothing selected.
    grid.load(grid.rows());
    grid.select(0);
    EXPECT_FALSE(grid.moveRowDown());
    EXPECT_FALSE(grid.removeRow());
    EXPECT_FALSE(grid.modified());
}

TEST_F(ScheduleGridTest, MovingDownFromTheLastVisibleRowScrolls)
{
    plan(6); // seven rows
    EXPECT_EQ(grid.scroll().limit, 3);
    EXPECT_EQ(grid.scroll().page, 4);
    grid.select(4);
    EXPECT_TRUE(grid.moveRowDown());
    EXPECT_EQ(grid.top(), 1);
    EXPECT_EQ(grid.selected(), 4);
    EXPECT_EQ(grid.rows()[grid.selectedIndex()].PersonVentilation, "P3");

    EXPECT_TRUE(grid.moveRowDown());
    EXPECT_EQ(grid.top(), 2);
    EXPECT_EQ(grid.selectedIndex(), 5);
    EXPECT_EQ(grid.rows()[5].PersonVentilation, "P3");
    EXPECT_FALSE(grid.moveRowDown()) << "now above the placeholder";

    // The scroll bar stops where the last four rows show.
    EXPECT_TRUE(grid.scrollTo(99));
    EXPECT_EQ(grid.top(), 3);
    EXPECT_TRUE(grid.scrollTo(-5));
    EXPECT_EQ(grid.top(), 0);
}

TEST_F(ScheduleGridTest, SortingMarksTheCourseChangedEvenWithOneRealRow)
{
    plan(1);
    EXPECT_TRUE(grid.sortByStartTime());
    EXPECT_TRUE(grid.modified());
    EXPECT_EQ(names(), (std::vector<std::string> {"P0", ""}));
}

TEST_F(ScheduleGridTest, ADoneRowKeepsItsTimes)
{
    plan(2);
    grid.rows()[0].Done = 1;
    EXPECT_TRUE(grid.timesFixed(0));
    EXPECT_FALSE(grid.timesFixed(1));
    EXPECT_TRUE(grid.detailsEnabled(0));
    EXPECT_FALSE(grid.detailsEnabled(2)) << "the placeholder";
    EXPECT_FALSE(grid.updateEndTime(0, "11:00"));
    EXPECT_EQ(grid.rows()[0].StartTime, "09:02");
    EXPECT_FALSE(grid.modified());
    EXPECT_TRUE(grid.updateEndTime(1, "11:00"));
    EXPECT_EQ(grid.rows()[1].EndTime, "11:05");
    EXPECT_TRUE(grid.modified());
}

TEST_F(ScheduleGridTest, ThePlaceholderFollowsTheCourseStartAndTheDefaultScenario)
{
    ScheduleScenario shortOne;
    shortOne.duration = 60;
    shortOne.trainingMode = 0;
    source.scenarios["Short"] = shortOne;
    plan(1);
    // Its own scenario sets the length.
    grid.retimePlaceholder(fields("Jo", "13:30"));
    EXPECT_EQ(grid.rows()[1].StartTime, "13:30");
    EXPECT_EQ(grid.rows()[1].EndTime, "13:35");

    grid.applyDefaultScenario("Short");
    EXPECT_EQ(grid.rows()[1].Scenario, "Short");
    EXPECT_EQ(grid.rows()[1].TrainingMode, 0);
    EXPECT_EQ(grid.rows()[1].EndTime, "13:35") << "times stay until retimed";
    grid.retimePlaceholder(fields("Jo", "13:30"));
    EXPECT_EQ(grid.rows()[1].EndTime, "13:31");
    EXPECT_EQ(grid.rows()[0].StartTime, "09:02") << "real rows stay";

    // An unknown scenario gives the defaults: ten minutes.
    grid.applyDefaultScenario("Gone");
    grid.retimePlaceholder(fields("Jo", "13:30"));
    EXPECT_EQ(grid.rows()[1].EndTime, "13:40");
}

} // namespace
