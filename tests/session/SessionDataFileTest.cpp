#include "FakeSessionServices.h"
#include "session/SessionDataFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace sessiontest;

namespace {

class SessionDataFileTest : public ::testing::Test {
protected:
    // A replay whose own file is missing: an empty session to fill or read into.
    std::unique_ptr<Session> emptySession()
    {
        SessionRecord record;
        record.Manikin = -1;
        return std::make_unique<Session>(record, Algorithm());
    }

    static Measurement measurement(double depth, double volume, bool vMark, bool cMark, bool a, bool b)
    {
        Measurement m;
        m.depth = depth;
        m.volume = volume;
        m.ventilationMark = vMark;
        m.compressionMark = cMark;
        m.flagA = a;
        m.flagB = b;
        return m;
    }

    sessiontest::FakeSessionServices services;
    testsupport::LogCapture log;
    testsupport::TempDir dir;
};

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A German locale (comma as decimal point): the system's, or one compiled
// into the folder when the system has none. Null when neither works.
const char* useGermanLocale(const std::string& folder)
{
    if (const char* name = std::setlocale(LC_ALL, "de_DE.UTF-8"))
        return name;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(folder + "/de_DE.UTF-8"))
        return nullptr;
    ::setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8");
}

sessiondata::LoadResult loadText(Session& session, std::string text)
{
    std::FILE* stream = ::fmemopen(text.data(), text.size(), "r");
    if (!stream) // fmemopen refuses an empty buffer
        stream = std::tmpfile();
    auto result = sessiondata::load(session, stream, 20.0);
    std::fclose(stream);
    return result;
}

TEST_F(SessionDataFileTest, EmptySessionIsThreeZeroLines)
{
    auto session = emptySession();
    EXPECT_EQ(sessiondata::text(*session), "0\r\n0\r\n0\r\n");
}

TEST_F(SessionDataFileTest, SavedSessionReadsBackEqualWhateverTheDesktopLocale)
{
    auto session = emptySession();
    session->compressionDoc.addEvent(7, L"Shock", L"tip", 12); // before the first sample: -1
    auto& data = session->getCommSession().manData;
    data.push_back(measurement(45.678, 0.4567, false, true, false, true));
    data.push_back(measurement(123.456, 0.000012345, true, false, true, false));
    session->compressionDoc.addEvent(8, L"", L"", 3);
    session->ventilationDoc.addEvent(9, L"", L"", 40);

    const bool german = useGermanLocale(dir.path()) != nullptr;
    if (german) {
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        EXPECT_STREQ(probe, "1,5");
    }
    const std::string text = sessiondata::text(*session);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text, "2\r\n-1 12\r\n1 3\r\n1\r\n1 40\r\n2\r\n"
                    "45.68 0 1 0 0.4567 1\r\n123.5 1 0 1 1.234e-05 0\r\n");

    const std::string path = dir.path() + "/session.dat";
    ASSERT_TRUE(sessiondata::save(*session, path));
    EXPECT_EQ(readBytes(path), text);

    if (german)
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    auto replay = emptySession();
    const int idBefore = Session::nextEventId();
    EXPECT_EQ(sessiondata::load(*replay, path, 20.0), sessiondata::LoadResult::read);
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
    if (!german)
        ADD_FAILURE() << "no German locale could be made: the file was not tried under one";
    const auto& events = replay->compressionDoc.getEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].sampleIndex, -1);
    EXPECT_EQ(events[0].imageIndex, 12);
    EXPECT_TRUE(events[0].name.empty());
    EXPECT_GT(events[0].commandId, idBefore); // fresh ids
    EXPECT_GT(events[1].commandId, events[0].commandId);
    ASSERT_EQ(replay->ventilationDoc.getEvents().size(), 1u);
    EXPECT_EQ(replay->ventilationDoc.getEvents()[0].imageIndex, 40);
    const auto& read = replay->getCommSession().manData;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_DOUBLE_EQ(read[0].depth, 45.68);
    EXPECT_DOUBLE_EQ(read[1].depth, 123.5);
    EXPECT_DOUBLE_EQ(read[1].volume, 1.234e-05);
    EXPECT_TRUE(read[0].flagB);
    EXPECT_TRUE(read[1].flagA);
    // What was read writes the same text again.
    EXPECT_EQ(sessiondata::text(*replay), text);
}

TEST_F(SessionDataFileTest, LineEndsOnlyReadTheSame)
{
    auto session = emptySession();
    EXPECT_EQ(loadText(*session, "1\n5 2\n0\n1\n12.5 0 1 0 0.3 0\n"), sessiondata::LoadResult::read);
    EXPECT_EQ(sessiondata::text(*session), "1\r\n5 2\r\n0\r\n1\r\n12.5 0 1 0 0.3 0\r\n");
}

TEST_F(SessionDataFileTest, DamagedAndHostileFilesStopAtTheirEndWithoutACrash)
{
    struct Case {
        const char* name;
        const char* text;
        sessiondata::LoadResult result;
        std::size_t compressionEvents;
    };
    using R = sessiondata::LoadResult;
    const Case cases[] = {
        { "empty", "", R::damagedMeasurements, 0 },
        { "huge event count", "2000000000\r\n1 2\r\n", R::damagedMeasurements, 1 },
        { "negative counts", "-5\r\n-3\r\n0\r\n", R::read, 0 },
        { "negative index kept", "1\r\n-7 4\r\n0\r\n0\r\n", R::read, 1 },
        { "letters in the events", "2\r\n1 2\r\nx y\r\n0\r\n0\r\n", R::damagedMeasurements, 1 },
        { "cut in the measurements", "0\r\n0\r\n3\r\n1 0 0 0 0 0\r\n", R::damagedMeasurements, 0 },
        { "huge measurement count", "0\r\n0\r\n2000000000\r\n1 0 0 0 0 0\r\n", R::damagedMeasurements, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto session = emptySession();
        EXPECT_EQ(loadText(*session, c.text), c.result);
        EXPECT_EQ(session->compressionDoc.getEvents().size(), c.compressionEvents);
    }
}

TEST_F(SessionDataFileTest, MissingFileAndUnwritableFolder)
{
    auto session = emptySession();
    EXPECT_EQ(sessiondata::load(*session, dir.path() + "/none.dat", 20.0),
              sessiondata::LoadResult::missing);
    std::string error;
    EXPECT_FALSE(sessiondata::save(*session, dir.path() + "/no/such/folder/s.dat", &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
