#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace {

using testsupport::readFile;
using testsupport::TempDir;

const std::string dashes(75, '-');

// Runs the helper in `dir` and returns its "errors.txt".
std::string runScenario(const TempDir& dir, const std::string& scenario)
{
    std::string command = "cd '" + dir.path() + "' && '" LOG_HELPER_PATH "' " + scenario;
    EXPECT_EQ(std::system(command.c_str()), 0) << scenario;
    return readFile(dir.file("errors.txt"));
}

// The header of a log: the date line, the system line and the dashes.
const std::string headerPattern = R"(Date:\d\d/\d\d/\d\d Time:\d\d:\d\d:\d\d\n[^\n]+\n-{75}\n)";

TEST(LogStream, RunThatNeverLogsLeavesAnOldFileAlone)
{
    TempDir dir;
    runScenario(dir, "none");
    EXPECT_FALSE(std::filesystem::exists(dir.file("errors.txt")));

    {
        std::FILE* old = std::fopen(dir.file("errors.txt").c_str(), "w");
        std::fputs("from an earlier run\n", old);
        std::fclose(old);
    }
    EXPECT_EQ(runScenario(dir, "none"), "from an earlier run\n");
}

TEST(LogStream, WritesHeaderEntriesAndClosingLine)
{
    TempDir dir;
    std::string log = runScenario(dir, "basic");
    std::regex expected(headerPattern + "true12\n\xC4\\?x\\?\\?\n-eof-\n");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST(LogStream, ApplicationHeaderFollowsWithItsOwnDashes)
{
    TempDir dir;
    std::string log = runScenario(dir, "header");
    std::regex expected(headerPattern + "Tavo CPR Software 2\\.3\\.12 : test build\n-{75}\ntrue12\n[^]*-eof-\n");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST(LogStream, SystemLineNamesTheKernel)
{
    TempDir dir;
    std::string log = runScenario(dir, "basic");
    std::size_t first = log.find('\n');
    std::string systemLine = log.substr(first + 1, log.find('\n', first + 1) - first - 1);
    EXPECT_EQ(systemLine.rfind("Linux ", 0), 0u) << systemLine;
}

TEST(LogStream, FormatsEveryKindOfValue)
{
    TempDir dir;
    std::string log = runScenario(dir, "formats");
    std::string expected = std::string("[-3|7|-8|9|1.500000|2.250000|c|\xE9|a") + '\0' + "b||w?|0x1234]\nstream 42\n-eof-\n";
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(log.substr(log.size() - expected.size()), expected);
}

TEST(LogStream, EntriesSurviveAKilledProgram)
{
    TempDir dir;
    std::string command = "cd '" + dir.path() + "' && '" LOG_HELPER_PATH "' killed";
    EXPECT_NE(std::system(command.c_str()), 0);
    std::regex expected(headerPattern + "last words\n");
    std::string log = readFile(dir.file("errors.txt"));
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST(LogStream, FailedAssertionWritesOneLineAndGoesOn)
{
    TempDir dir;
    std::string log = runScenario(dir, "assert");
    std::regex expected(headerPattern +
                        R"(Assert failed in tests/Utillib/log_helper\.cpp \(\d+\) : one == 2\n)"
                        R"(Assert failed in tests/Utillib/log_helper\.cpp \(\d+\) : ::IsWindow\(m_hWnd\)\n)"
                        R"(after\n-eof-\n)");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST(LogStream, LogOpenedAgainAppendsWithWarning)
{
    TempDir dir;
    std::string log = runScenario(dir, "recreate");
    std::regex expected(headerPattern + "first run\n-eof-\n" + headerPattern +
                        "Warning: the LogStream has been destroyed once\nsecond run\n-eof-\n");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST(LogStream, UnopenableLogIsSilent)
{
    TempDir dir;
    // A folder in the log's place cannot be opened as a file.
    std::filesystem::create_directory(dir.file("errors.txt"));
    std::string command = "cd '" + dir.path() + "' && '" LOG_HELPER_PATH "' basic";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("errors.txt")));
}

} // namespace
