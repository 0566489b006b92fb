// The database side of a session on a real data source: the event toolbar
// from the Events table and the participants added when a session is saved.
#include "Database/DbTestSupport.h"
#include "session/SessionServices.h"

#include <gtest/gtest.h>

namespace {

class SessionTablesTest : public dbtest::DbTest {};

TEST_F(SessionTablesTest, ScenarioEventsOrTheBuiltInList)
{
    exec("INSERT INTO Events (Icon, Name, \"Order\", Scenario, Tooltip) VALUES (2, 'Call & check', 0, 'Drill', 'Airway')");
    exec("INSERT INTO Events (Icon, Name, \"Order\", Scenario, Tooltip) VALUES (4, 'Shock', 1, 'Drill', 'Deliver a shock')");
    std::vector<ScenarioEvent> events = loadScenarioEvents("drill");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].name, "Call & check");
    EXPECT_EQ(events[0].toolTip, "Airway");
    EXPECT_EQ(events[0].icon, 2);
    EXPECT_EQ(events[1].name, "Shock");
    EXPECT_EQ(events[1].icon, 4);
    EXPECT_EQ(loadScenarioEvents("No events").size(), 7u) << "the built-in list";
}

TEST_F(SessionTablesTest, ParticipantAddedOnceIgnoringCase)
{
    addPersonIfNew("Ann Smith");
    addPersonIfNew("ann smith");
    addPersonIfNew("Bob");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person"), "2");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Person WHERE Name = 'Ann Smith' AND Instructor = 0"), "1");
}

} // namespace
