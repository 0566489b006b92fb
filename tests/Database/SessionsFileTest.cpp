// The session exchange file: its bytes, its reader's refusal of damaged and
// hostile files, and the boxes of the two file operations.
#include "Database/SessionsFile.h"

#include "DbUiFake.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace {

std::string imageOf(const std::vector<SessionRecord>& records)
{
    sessionsfile::Image image;
    std::string error;
    EXPECT_TRUE(sessionsfile::buildImage(records, image, error)) << error;
    return std::string(image.block.get(), image.size);
}

// Every field 0 or empty, with a fixed serial.
SessionRecord blankRecord(const std::string& serial = "a0b1c2d3e4f5g6")
{
    SessionRecord r;
    r.Serialidentifier = serial;
    r.CourseDate.clear();
    r.StartTime.clear();
    r.Duration = 0;
    r.RegisterEvents = 0;
    r.TrainingMode = 0;
    return r;
}

SessionRecord fullRecord(const std::string& serial)
{
    SessionRecord r;
    r.Serialidentifier = serial;
    r.Algorithm = "Guideline 2005";
    r.Approved = 2;
    r.ApprovedBy = "Dr. O'Neill";
    r.CompDepth = 41.5;
    r.CompRelaxRatio = 0.48;
    r.CourseDate = "2006-03-05";
    r.CourseInstructor = "Hanne";
    r.CourseOrder = 3;
    r.CourseTime = "09:00";
    r.Done = 1;
    r.Duration = -1;
    r.ECCrate = 104.25;
    r.EndTime = "09:17";
    r.InitialVentilations = 2;
    r.InterfaceFrequency = 50.0;
    r.Leaning = 0.125;
    r.Manikin = 256;
    r.Metronome = 1;
    r.RegisterEvents = 0;
    r.Note = "caf\xe9 \xbd";
    r.PauseECC = 3.5;
    r.PersonChestCompression = "Ola";
    r.PersonVentilation = "Kari";
    r.Scenario = "Adult";
    r.TrainingMode = 3;
    r.StartTime = "09:07";
    r.StomachInflation = 1;
    r.VentCompRatioComp = 30;
    r.VentCompRatioVent = 2;
    r.VentilationRate = 7.5;
    r.VentilationVolume = 0.55;
    r.WrongHandPosition = 12;
    r.dataText = std::string("2\n1 0\n9 1\n0\n1\n0.5 0 0 0 0 0\n\0tail", 33);
    return r;
}

void expectEqual(const SessionRecord& a, const SessionRecord& b)
{
    EXPECT_EQ(a.Serialidentifier, b.Serialidentifier);
    EXPECT_EQ(a.Algorithm, b.Algorithm);
    EXPECT_EQ(a.Approved, b.Approved);
    EXPECT_EQ(a.ApprovedBy, b.ApprovedBy);
    EXPECT_EQ(a.CompDepth, b.CompDepth);
    EXPECT_EQ(a.CompRelaxRatio, b.CompRelaxRatio);
    EXPECT_EQ(a.CourseDate, b.CourseDate);
    EXPECT_EQ(a.CourseInstructor, b.CourseInstructor);
    EXPECT_EQ(a.CourseOrder, b.CourseOrder);
    EXPECT_EQ(a.CourseTime, b.CourseTime);
    EXPECT_EQ(a.Done, b.Done);
    EXPECT_EQ(a.Duration, b.Duration);
    EXPECT_EQ(a.ECCrate, b.ECCrate);
    EXPECT_EQ(a.EndTime, b.EndTime);
    EXPECT_EQ(a.InitialVentilations, b.InitialVentilations);
    EXPECT_EQ(a.InterfaceFrequency, b.InterfaceFrequency);
    EXPECT_EQ(a.Leaning, b.Leaning);
    EXPECT_EQ(a.Manikin, b.Manikin);
    EXPECT_EQ(a.Metronome, b.Metronome);
    EXPECT_EQ(a.RegisterEvents, b.RegisterEvents);
    EXPECT_EQ(a.Note, b.Note);
    EXPECT_EQ(a.PauseECC, b.PauseECC);
    EXPECT_EQ(a.PersonChestCompression, b.PersonChestCompression);
    EXPECT_EQ(a.PersonVentilation, b.PersonVentilation);
    EXPECT_EQ(a.Scenario, b.Scenario);
    EXPECT_EQ(a.TrainingMode, b.TrainingMode);
    EXPECT_EQ(a.StartTime, b.StartTime);
    EXPECT_EQ(a.StomachInflation, b.StomachInflation);
    EXPECT_EQ(a.VentCompRatioComp, b.VentCompRatioComp);
    EXPECT_EQ(a.VentCompRatioVent, b.VentCompRatioVent);
    EXPECT_EQ(a.VentilationRate, b.VentilationRate);
    EXPECT_EQ(a.VentilationVolume, b.VentilationVolume);
    EXPECT_EQ(a.WrongHandPosition, b.WrongHandPosition);
    EXPECT_EQ(a.dataText, b.dataText);
    EXPECT_EQ(a.magic, b.magic);
}

void putInt32(std::string& bytes, std::size_t at, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

TEST(SessionsFile, WritesTheExampleByteForByte)
{
    SessionRecord r = blankRecord();
    r.CourseDate = "2006-03-05";
    r.Duration = 600;
    r.RegisterEvents = 1;
    r.TrainingMode = 1;
    r.StartTime = "09:07";
    r.dataText = "0\n0\n0\n";
    std::string expected(228, '\0');
    auto put = [&](std::size_t at, const std::string& bytes) { expected.replace(at, bytes.size(), bytes); };
    put(0x00, std::string("\x01", 1));
    put(0x08, std::string("\x0e\0\0\0a0b1c2d3e4f5g6", 18));
    put(0x33, std::string("\x0a\0\0\0" "2006-03-05", 14));
    put(0x51, std::string("\x58\x02", 2));
    put(0x7D, std::string("\x01", 1));
    put(0x99, std::string("\x01\0\0\0\x05\0\0\0" "09:07", 13));
    put(0xD6, std::string("\x06\0\0\0" "0\n0\n0\n" "\x34\x12", 12));
    EXPECT_EQ(imageOf({r}), expected);

    // A record whose texts are all empty is the fixed part alone.
    SessionRecord empty = blankRecord("");
    EXPECT_EQ(imageOf({empty}).size(), 4u + 189u);
    EXPECT_EQ(imageOf({}), std::string(4, '\0'));
}

TEST(SessionsFile, RecordsComeBackFieldForField)
{
    std::vector<SessionRecord> written{fullRecord("0123456789abcd"), fullRecord("uv0123456789ab")};
    written[1].magic = 77; // an earlier record's trailer is carried, not judged
    std::swap(written[0], written[1]);
    std::string image = imageOf(written) + "trailing bytes";
    std::vector<SessionRecord> read;
    std::string error;
    ASSERT_EQ(sessionsfile::parseImage(image.data(), image.size(), read, error), sessionsfile::ParseResult::ok);
    ASSERT_EQ(read.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        expectEqual(read[i], written[i]);
    EXPECT_EQ(read[1].dataText.size(), 33u); // the zero byte inside is carried
}

TEST(SessionsFile, AColumnTextEndsAtItsFirstZeroByte)
{
    SessionRecord r = fullRecord("0123456789abcd");
    r.Note = std::string("kept\0dropped", 12);
    std::string image = imageOf({r});
    std::vector<SessionRecord> read;
    std::string error;
    ASSERT_EQ(sessionsfile::parseImage(image.data(), image.size(), read, error), sessionsfile::ParseResult::ok);
    EXPECT_EQ(read.at(0).Note, "kept");
}

// Damaged and hostile files: each is refused whole, with the box its fault calls for.
TEST(SessionsFile, DamagedAndHostileFilesAreRefusedWhole)
{
    testsupport::TempDir dir;
    std::string good = imageOf({fullRecord("0123456789abcd"), fullRecord("0123456789abce")});
    std::size_t second = (good.size() - 4) / 2 + 4; // where the second record starts
    // offset of the first record's Algorithm count (after N, version and the 14-character serial)
    const std::size_t algorithmCount = 4 + 4 + 4 + 14;

    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* box; // expected in the box; nullptr: no box
    };
    std::vector<Case> cases;
    auto with = [&](std::size_t at, std::int32_t value) {
        std::string b = good;
        putInt32(b, at, value);
        return b;
    };
    cases.push_back({"version 1 in the second record", with(second, 1), L"Unsupported version in session data!"});
    cases.push_back({"count larger than the records", with(0, 3), L"XTL mem_buffer overflow"});
    cases.push_back({"huge count", with(0, INT32_MAX), L"XTL mem_buffer overflow"});
    cases.push_back({"negative text length", with(algorithmCount, -5), L"XTL mem_buffer overflow"});
    cases.push_back({"text length past the end", with(algorithmCount, INT32_MAX), L"XTL mem_buffer overflow"});
    cases.push_back({"wrong last trailer", with(good.size() - 4, 0x1235), L"importing canceled."});
    SessionRecord escaping = fullRecord("0123456789abcd");
    escaping.Serialidentifier = "../../evil";
    cases.push_back({"serial leaving the data folder", imageOf({fullRecord("0123456789abce"), escaping}),
        L"identifier is not valid"});
    SessionRecord empty = fullRecord("0123456789abcd");
    empty.Serialidentifier.clear();
    cases.push_back({"empty serial", imageOf({empty}), L"identifier is not valid"});
    SessionRecord longText = fullRecord("0123456789abcd");
    longText.PersonVentilation = std::string(300, 'x');
    cases.push_back({"300-character name", imageOf({longText}), L"PersonVentilation of session 0123456789abcd"});
    // Cut at every section boundary and inside each: never half-imported.
    for (std::size_t cut = 1; cut < good.size(); cut += (cut < 64 ? 1 : 97))
        cases.push_back({"cut", good.substr(0, cut), L"XTL mem_buffer overflow"});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dbtest::FakeUi ui;
        std::string path = dir.file("damaged.sdb");
        writeBytes(path, c.bytes);
        EXPECT_TRUE(readSessionsFile(path).empty());
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_NE(ui.boxes[0].text.find(c.box), std::wstring::npos) << std::string(ui.boxes[0].text.begin(), ui.boxes[0].text.end());
        EXPECT_EQ(ui.boxes[0].caption, L"Import sessions");
        EXPECT_EQ(ui.boxes[0].flags, 0x10u);
    }
}

TEST(SessionsFile, FilesWithoutSessionsReadSilently)
{
    testsupport::TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string negative(4, '\xff');
    Case cases[] = {{"zero", std::string(4, '\0')}, {"negative count", negative + "anything"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dbtest::FakeUi ui;
        writeBytes(dir.file("x.sdb"), c.bytes);
        EXPECT_TRUE(readSessionsFile(dir.file("x.sdb")).empty());
        EXPECT_TRUE(ui.boxes.empty());
    }
    dbtest::FakeUi ui;
    EXPECT_TRUE(readSessionsFile(dir.file("missing.sdb")).empty());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(SessionsFile, ExportDoublesTheBufferAndWritesTheExactSize)
{
    testsupport::TempDir dir;
    testsupport::LogCapture log;
    dbtest::FakeUi ui;
    SessionRecord r = blankRecord();
    std::size_t fixed = 4 + 189 + 14;
    r.dataText.assign(sessionsfile::firstBufferSize - fixed + 1, 'm'); // one byte too many
    std::string path = dir.file("big.sdb");
    ASSERT_TRUE(writeSessionsFile(path, {r}));
    EXPECT_EQ(testsupport::readFile(path).size(), sessionsfile::firstBufferSize + 1);
    std::string text = log.text();
    EXPECT_NE(text.find("Streaming 1 into 524288 bytes"), std::string::npos);
    EXPECT_NE(text.find("Streaming 1 into 1048576 bytes"), std::string::npos);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, L"Exported 1 session to " + std::wstring(path.begin(), path.end()));
    EXPECT_EQ(ui.boxes[0].flags, 0x40u);

    std::vector<SessionRecord> back = readSessionsFile(path);
    ASSERT_EQ(back.size(), 1u);
    expectEqual(back[0], r);
}

TEST(SessionsFile, AFailedSaveIsToldAndLeavesTheOldFile)
{
    testsupport::TempDir dir;
    dbtest::FakeUi ui;
    std::string path = dir.file("no-such-folder/out.sdb");
    EXPECT_FALSE(writeSessionsFile(path, {fullRecord("0123456789abcd"), fullRecord("0123456789abce")}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, L"The sessions could not be exported:\r\nCould not save " + std::wstring(path.begin(), path.end()) + L".");
    EXPECT_EQ(ui.boxes[0].caption, L"Export sessions");

    // An export over an existing file replaces it whole.
    std::string existing = dir.file("old.sdb");
    writeBytes(existing, std::string(5000, 'o'));
    ASSERT_TRUE(writeSessionsFile(existing, {fullRecord("0123456789abcd"), fullRecord("0123456789abce")}));
    EXPECT_EQ(ui.boxes.back().text, L"Exported 2 sessions to " + std::wstring(existing.begin(), existing.end()));
    EXPECT_EQ(readSessionsFile(existing).size(), 2u);
}

} // namespace
