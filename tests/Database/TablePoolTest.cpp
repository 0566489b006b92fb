#include "Database/TablePool.h"

#include "Database/Database.h"
#include "Database/Recordset.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

Database noConnection;

// A recordset that counts how it is closed and re-opened.
class CountingRecordset : public Recordset {
public:
    CountingRecordset()
        : Recordset(noConnection)
    {
    }
    bool Open(const std::string& table) override
    {
        opens.push_back(table);
        filterAtOpen = m_strFilter;
        // As a real recordset: a failed re-read leaves it open on its old rows.
        open = open || opensSucceed;
        return opensSucceed;
    }
    void Close() override
    {
        ++closes;
        open = false;
    }
    bool IsOpen() const override { return open; }
    bool CanRestart() const override { return restartable; }

    bool open = true;
    bool restartable = true;
    bool opensSucceed = true;
    int closes = 0;
    std::vector<std::string> opens;
    std::string filterAtOpen;
};

class TablePoolTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setClock(&clock); }
    void TearDown() override { platform::setClock(nullptr); }
    platform::ManualClock clock;
    testsupport::LogCapture log;
    TablePool pool;
};

TEST_F(TablePoolTest, RefreshReopensEveryTableOfTheKindOnly)
{
    CountingRecordset scenarios1, scenarios2, persons;
    persons.m_strFilter = "Instructor = TRUE";
    pool.add(&scenarios1, tableKind::Scenario);
    pool.add(&persons, tableKind::Person);
    pool.add(&scenarios2, tableKind::Scenario);

    pool.refresh(tableKind::Algorithm);
    EXPECT_TRUE(scenarios1.opens.empty() && scenarios2.opens.empty() && persons.opens.empty());

    pool.refresh(tableKind::Scenario);
    EXPECT_EQ(scenarios1.closes, 0) << "read again in place";
    EXPECT_EQ(scenarios1.opens, std::vector<std::string>{"Scenario"});
    EXPECT_EQ(scenarios2.opens, std::vector<std::string>{"Scenario"});
    EXPECT_TRUE(persons.opens.empty());

    pool.refresh(tableKind::Person);
    EXPECT_EQ(persons.opens, std::vector<std::string>{"Person"});
    EXPECT_EQ(persons.filterAtOpen, "Instructor = TRUE");
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos);
}

TEST_F(TablePoolTest, ARemovedTableIsNoLongerTouched)
{
    CountingRecordset a, b;
    pool.add(&a, tableKind::Session);
    pool.add(&b, tableKind::Session);
    pool.remove(&a);
    pool.remove(&a); // unknown by now: ignored
    pool.refresh(tableKind::Session);
    EXPECT_TRUE(a.opens.empty());
    EXPECT_EQ(b.opens.size(), 1u);
}

TEST_F(TablePoolTest, ATableRegisteredTwiceLeavesNoEntryAfterOneRemoval)
{
    CountingRecordset a;
    pool.add(&a, tableKind::Course);
    pool.add(&a, tableKind::Course);
    pool.remove(&a);
    EXPECT_EQ(pool.size(), 0u);
    pool.refresh(tableKind::Course);
    EXPECT_TRUE(a.opens.empty());
}

TEST_F(TablePoolTest, TablesThatCannotBeReopenedAreLoggedAndSkipped)
{
    CountingRecordset closed, fixed, failing, fine;
    closed.open = false;
    fixed.restartable = false;
    failing.opensSucceed = false;
    for (CountingRecordset* t : {&closed, &fixed, &failing, &fine})
        pool.add(t, tableKind::Events);

    pool.refresh(tableKind::Events);

    EXPECT_TRUE(closed.opens.empty());
    EXPECT_TRUE(fixed.opens.empty());
    EXPECT_EQ(fixed.closes, 0);
    EXPECT_EQ(failing.opens.size(), 3u); // DBUtil::Open's three attempts
    EXPECT_TRUE(failing.IsOpen()) << "the rows read before stay";
    EXPECT_EQ(fine.opens.size(), 1u);
    std::string text = log.text();
    std::size_t falseLines = 0;
    for (std::size_t at = text.find(") : FALSE\n"); at != std::string::npos; at = text.find(") : FALSE\n", at + 1))
        ++falseLines;
    EXPECT_EQ(falseLines, 2u); // the closed one and the one that cannot restart
    EXPECT_TRUE(log.hasAssertion("DBUtil::Open(tables[i], names[k]) == true"));
}

} // namespace
