#include "Database/DatabaseUtil.h"

#include "DbUiFake.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <new>

namespace {

TEST(DBUtil, QuoteDoublesEverySingleQuote)
{
    EXPECT_EQ(DBUtil::quote(""), "");
    EXPECT_EQ(DBUtil::quote("O'Brien"), "O''Brien");
    EXPECT_EQ(DBUtil::quote("''"), "''''");
    EXPECT_EQ(DBUtil::quote("x'); DROP TABLE Person; --"), "x''); DROP TABLE Person; --");
}

TEST(DBUtil, TrimmedRemovesWhiteSpaceAtBothEnds)
{
    const std::pair<const char*, const char*> cases[] = {
        {"  Anna Berg  ", "Anna Berg"}, {"\t\r\nx\n", "x"}, {"   ", ""}, {"", ""}, {"a  b", "a  b"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(trimmed(in), out) << '"' << in << '"';
}

TEST(DBUtil, ErrorBoxText)
{
    dbtest::FakeUi ui;
    DBUtil::reportError("near \"*\": syntax error (SQLSTATE HY000)\n");
    DBUtil::reportError("");
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, L"An unexpected error occurred while accessing the database:\n\n"
                                L"near \"*\": syntax error (SQLSTATE HY000)\n"
                                L"\nPlease try to correct the problem yourself, or contact support for further help.");
    EXPECT_EQ(ui.boxes[0].flags, dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    EXPECT_EQ(ui.boxes[1].text, L"An unexpected error occurred while accessing the database:\n\nUnknown error\n"
                                L"\nPlease try to correct the problem yourself, or contact support for further help.");
}

// A recordset whose opening is scripted: each attempt refuses, fails with a
// driver error, runs out of memory, or opens.
class ScriptedRecordset : public Recordset {
public:
    enum Outcome { Refuse, DriverError, OutOfMemory, Opens, OpensButClosed };
    ScriptedRecordset()
        : Recordset(unusedConnection)
    {
    }
    bool Open(const std::string& table) override
    {
        tables.push_back(table);
        Outcome next = script.empty() ? Refuse : script.front();
        if (!script.empty())
            script.erase(script.begin());
        switch (next) {
        case OutOfMemory:
            throw std::bad_alloc();
        case DriverError:
            Recordset::Open(table); // fails: the connection is not open
            return false;
        case Opens:
            open = true;
            return true;
        case OpensButClosed:
            return true;
        default:
            return false;
        }
    }
    bool IsOpen() const override { return open; }

    static Database unusedConnection;
    std::vector<Outcome> script;
    std::vector<std::string> tables;
    bool open = false;
};
Database ScriptedRecordset::unusedConnection;

TEST(DBUtil, OpenRetriesThreeTimesAndPausesOnlyAfterARefusal)
{
    struct Case {
        std::vector<ScriptedRecordset::Outcome> script;
        bool opened;
        int attempts;
        int sleptMs;
    };
    using S = ScriptedRecordset;
    const Case cases[] = {
        {{S::Refuse, S::Refuse, S::Refuse}, false, 3, 3000},
        {{S::DriverError, S::DriverError, S::DriverError}, false, 3, 0},
        {{S::OutOfMemory, S::OutOfMemory, S::OutOfMemory}, false, 3, 0},
        {{S::Refuse, S::DriverError, S::Opens}, true, 3, 1000},
        {{S::Opens}, true, 1, 0},
    };
    for (const Case& c : cases) {
        platform::ManualClock clock;
        platform::setClock(&clock);
        ScriptedRecordset rs;
        rs.script = c.script;
        std::uint64_t start = clock.now;
        EXPECT_EQ(DBUtil::Open(&rs, "Person"), c.opened);
        EXPECT_EQ(static_cast<int>(rs.tables.size()), c.attempts);
        EXPECT_EQ(static_cast<int>(clock.now - start), c.sleptMs);
        EXPECT_EQ(rs.tables.front(), "Person");
        platform::setClock(nullptr);
    }
}

TEST(DBUtil, OpenThatLeavesTheRecordsetClosedIsLogged)
{
    testsupport::LogCapture log;
    ScriptedRecordset rs;
    rs.script = {ScriptedRecordset::OpensButClosed};
    EXPECT_TRUE(DBUtil::Open(&rs, "Person"));
    EXPECT_TRUE(log.hasAssertion("table->IsOpen()==TRUE"));
}

TEST(DBUtil, GuardedMovesDoNothingOnAClosedRecordset)
{
    dbtest::FakeUi ui;
    testsupport::LogCapture log;
    ScriptedRecordset rs;
    DBUtil::moveFirst(rs);
    DBUtil::moveLast(rs);
    DBUtil::moveNext(rs);
    DBUtil::movePrev(rs);
    EXPECT_TRUE(DBUtil::isEmpty(rs));
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos);
}

} // namespace
