#include "Database/CourseSchedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A compact picture of a row: ventilation person, manikin, start-end.
std::string describe(const SessionRecord& row)
{
    return row.PersonVentilation + "@" + std::to_string(row.Manikin) + " " + row.StartTime + "-" + row.EndTime;
}

std::vector<std::string> describeAll(const CourseSchedule& schedule)
{
    std::vector<std::string> out;
    for (const SessionRecord& row : schedule.rows())
        out.push_back(describe(row));
    return out;
}

ScheduleScenario fiveMinutes()
{
    ScheduleScenario s;
    s.duration = 300;
    s.algorithm = "Adult";
    s.trainingMode = 2;
    return s;
}

// Three real rows (Ann, Bob, Cy on manikins 1, 1, 2) and the placeholder on 2.
CourseSchedule threeRows()
{
    CourseSchedule schedule;
    const std::vector<std::pair<std::string, int>> people {{"Ann", 1}, {"Bob", 1}, {"Cy", 2}, {"", 2}};
    for (const auto& [name, manikin] : people) {
        const int i = schedule.appendRow("Jo", "2026-12-10", "09:00", "Basic", fiveMinutes(), manikin);
        schedule.rows()[i].PersonVentilation = name;
    }
    return schedule;
}

TEST(CourseSchedule, AppendedRowsFollowTheCourseStartAndThePreviousRow)
{
    CourseSchedule schedule = threeRows();
    // First at start + 2 min; same manikin: previous end + 1 min; other manikin: previous start.
    EXPECT_EQ(describeAll(schedule), (std::vector<std::string> {
                                         "Ann@1 09:02-09:07", "Bob@1 09:08-09:13", "Cy@2 09:08-09:13", "@2 09:14-09:19"}));
    const SessionRecord& row = schedule.rows().front();
    EXPECT_EQ(row.Scenario, "Basic");
    EXPECT_EQ(row.Algorithm, "Adult");
    EXPECT_EQ(row.TrainingMode, 2);
    EXPECT_EQ(row.Duration, 300);
    EXPECT_EQ(row.CourseInstructor, "Jo");
    EXPECT_EQ(row.CourseDate, "2026-12-10");
    EXPECT_EQ(row.CourseTime, "09:00");
    EXPECT_NE(schedule.rows()[0].Serialidentifier, schedule.rows()[1].Serialidentifier);
}

TEST(CourseSchedule, WhatWasReadStaysApartFromTheEditsUntilStored)
{
    CourseSchedule schedule;
    schedule.load(threeRows().rows());
    ASSERT_EQ(schedule.storedRows().size(), 4u);
    schedule.rows()[0].PersonVentilation = "Changed";
    schedule.removeRow(1);
    EXPECT_EQ(schedule.storedRows()[0].PersonVentilation, "Ann") << "the rows as read";
    EXPECT_EQ(schedule.storedRows()[1].PersonVentilation, "Bob");

    // Stored: every row but the placeholder.
    schedule.markStored();
    ASSERT_EQ(schedule.storedRows().size(), 2u);
    EXPECT_EQ(describe(schedule.storedRows()[0]), describe(schedule.rows()[0]));
    EXPECT_EQ(schedule.storedRows()[1].PersonVentilation, "Cy");
}

TEST(CourseSchedule, ScenarioWithoutLimitHasNoEndTime)
{
    CourseSchedule schedule;
    ScheduleScenario unlimited;
    unlimited.duration = -1;
    schedule.appendRow("Jo", "2026-12-10", "23:59", "Free", unlimited, 3);
    EXPECT_EQ(schedule.rows()[0].StartTime, "24:01");
    EXPECT_EQ(schedule.rows()[0].EndTime, "");
}

TEST(CourseSchedule, PlaceholderIsAppendedOnlyOnceItGetsAParticipant)
{
    CourseSchedule schedule;
    EXPECT_TRUE(schedule.ensurePlaceholder("Jo", "2026-12-10", "09:00", "Basic", fiveMinutes(), 1));
    EXPECT_FALSE(schedule.ensurePlaceholder("Jo", "2026-12-10", "09:00", "Basic", fiveMinutes(), 1));
    schedule.rows()[0].PersonChestCompression = "Ann";
    EXPECT_TRUE(schedule.ensurePlaceholder("Jo", "2026-12-10", "09:00", "Basic", fiveMinutes(), 1));
    EXPECT_EQ(schedule.size(), 2);
}

TEST(CourseSchedule, RowOperations)
{
    enum Op { Up, Down, Remove, Sort };
    struct Case {
        const char* name;
        Op op;
        int row;
        bool allowed;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases {
        {"up moves people, times stay", Up, 1, true,
         {"Bob@1 09:02-09:07", "Ann@1 09:08-09:13", "Cy@2 09:08-09:13", "@2 09:14-09:19"}},
        {"up on the first row", Up, 0, false, {}},
        {"up on the placeholder", Up, 3, false, {}},
        {"down moves people, times stay", Down, 1, true,
         {"Ann@1 09:02-09:07", "Cy@2 09:08-09:13", "Bob@1 09:08-09:13", "@2 09:14-09:19"}},
        {"down above the placeholder", Down, 2, false, {}},
        {"down with no row", Down, -1, false, {}},
        {"remove a middle row", Remove, 1, true, {"Ann@1 09:02-09:07", "Cy@2 09:08-09:13", "@2 09:14-09:19"}},
        {"remove the placeholder", Remove, 3, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CourseSchedule schedule = threeRows();
        const std::vector<std::string> before = describeAll(schedule);
        bool allowed = false;
        switch (c.op) {
        case Up: allowed = schedule.moveRowUp(c.row); break;
        case Down: allowed = schedule.moveRowDown(c.row); break;
        case Remove: allowed = schedule.removeRow(c.row); break;
        case Sort: allowed = schedule.sortByStartTime(); break;
        }
        EXPECT_EQ(allowed, c.allowed);
        EXPECT_EQ(describeAll(schedule), c.allowed ? c.rows : before);
    }
}

TEST(CourseSchedule, SortOrdersByStartTimeAndLeavesThePlaceholderLast)
{
    CourseSchedule schedule = threeRows();
    schedule.rows()[0].StartTime = "10:00";
    schedule.rows()[1].StartTime = "09:30";
    schedule.rows()[2].StartTime = "09:45";
    schedule.rows()[3].StartTime = "08:00";
    EXPECT_TRUE(schedule.sortByStartTime());
    std::vector<std::string> names;
    for (const SessionRecord& row : schedule.rows())
        names.push_back(row.PersonVentilation + " " + row.StartTime);
    EXPECT_EQ(names, (std::vector<std::string> {"Bob 09:30", "Cy 09:45", "Ann 10:00", " 08:00"}));

    CourseSchedule one;
    one.appendRow("Jo", "2026-12-10", "09:00", "Basic", fiveMinutes(), 1);
    EXPECT_FALSE(one.sortByStartTime());
}

TEST(CourseSchedule, RetimingKeepsDoneRowsAndNormalisesStarts)
{
    CourseSchedule schedule = threeRows();
    EXPECT_TRUE(schedule.updateEndTime(0, "9:5"));
    EXPECT_EQ(describe(schedule.rows()[0]), "Ann@1 09:05-09:10");
    EXPECT_FALSE(schedule.updateEndTime(0, "09:05"));

    schedule.rows()[1].Done = 1;
    EXPECT_FALSE(schedule.updateEndTime(1, "11:00"));
    EXPECT_EQ(describe(schedule.rows()[1]), "Bob@1 09:08-09:13");

    schedule.retimePlaceholder("10:30", 600);
    EXPECT_EQ(describe(schedule.rows().back()), "@2 10:30-10:40");

    ScheduleScenario other;
    other.duration = 120;
    other.trainingMode = 0;
    schedule.applyScenarioToPlaceholder("Short", other);
    const SessionRecord& last = schedule.rows().back();
    EXPECT_EQ(last.Scenario, "Short");
    EXPECT_EQ(last.Duration, 120);
    EXPECT_EQ(last.TrainingMode, 0);
    EXPECT_EQ(describe(last), "@2 10:30-10:40");
}

} // namespace
