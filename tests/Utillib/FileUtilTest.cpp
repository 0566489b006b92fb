#include "Utillib/FileUtil.h"
#include "Utillib/LocalDate.h"
#include "config/mem_buffer.h"
#include "platform/Clock.h"
#include "platform/FileReplace.h"
#include "support/TestSupport.h"

#include <QLocale>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::LogCapture;
using testsupport::TempDir;

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

int countOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Holds a file the way another program would: open and locked.
class Holder {
public:
    explicit Holder(const std::string& path)
        : fd(::open(path.c_str(), O_RDWR | O_CREAT, 0644))
    {
        ::flock(fd, LOCK_EX);
    }
    ~Holder() { ::close(fd); }

private:
    int fd;
};

TEST(ReadFile, HandsTheWholeFileToTheBuffer)
{
    TempDir dir;
    std::string path = dir.file("data.sdb");
    writeBytes(path, std::string("\x01\x00\xFFzz", 5));
    mem_buffer buffer;
    ASSERT_TRUE(Utillib::readFile(path, buffer, false));
    ASSERT_EQ(buffer.bufferEnd - buffer.bufferStart, 5);
    EXPECT_EQ(buffer.cursor, buffer.bufferStart);
    EXPECT_EQ(std::string(buffer.bufferStart, 5), std::string("\x01\x00\xFFzz", 5));
    delete[] buffer.bufferStart;

    writeBytes(path, "");
    mem_buffer empty;
    ASSERT_TRUE(Utillib::readFile(path, empty, false));
    EXPECT_EQ(empty.bufferStart, empty.bufferEnd);
    delete[] empty.bufferStart;
}

TEST(ReadFile, MissingUnreadableOrHeldFilesReportFailure)
{
    TempDir dir;
    std::string held = dir.file("held");
    writeBytes(held, "abc");
    Holder holder(held);
    struct Case {
        std::string path;
        const char* logged;
    } cases[] = {
        { dir.file("missing"), "Could not open file '" },
        { dir.path(), "Could not read all of file from handle" }, // a folder opens but cannot be read
        { held, "Could not open file '" },
    };
    for (const auto& c : cases) {
        for (bool quiet : { false, true }) {
            LogCapture log;
            mem_buffer buffer;
            EXPECT_FALSE(Utillib::readFile(c.path, buffer, quiet)) << c.path;
            EXPECT_EQ(buffer.bufferStart, nullptr);
            EXPECT_EQ(log.text().find(c.logged) != std::string::npos, !quiet) << c.path << log.text();
        }
    }
}

// Reads the file with only `room` bytes of address space to spare; exits 0
// when the read reports failure, 1 when it claims success (an exception ends
// the process otherwise).
[[noreturn]] void readWithLittleMemory(const std::string& path, rlim_t room)
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t used = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
    const rlimit limit { used + room, used + room };
    ::setrlimit(RLIMIT_AS, &limit);
    mem_buffer buffer;
    bool read = Utillib::readFile(path, buffer, true);
    std::_Exit(read ? 1 : 0);
}

// A file larger than the memory the program may use: the read fails, it does
// not throw. The limit is set in a child process, so that the test's own
// process keeps its memory.
TEST(ReadFile, AFileTooLargeForTheMemoryIsAFailureNotAnException)
{
    TempDir dir;
    std::string path = dir.file("huge.sdb");
    constexpr rlim_t room = rlim_t(256) << 20;
    {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t(4) * room), 0); // sparse: takes no disk
        ::close(fd);
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(readWithLittleMemory(path, room), ::testing::ExitedWithCode(0), "");
}

TEST(WriteFile, ReplacesTheWholeContentAndKeepsThePermissions)
{
    TempDir dir;
    std::string path = dir.file("export.sdb");
    writeBytes(path, std::string(100, 'x'));
    ::chmod(path.c_str(), 0640);
    for (bool flush : { false, true }) {
        ASSERT_TRUE(Utillib::writeFile(path, "0123456789", 10, flush));
        EXPECT_EQ(testsupport::readFile(path), "0123456789");
        struct stat info;
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
    }
    // Nothing else is left in the folder.
    int entries = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    std::string fresh = dir.file("new.sdb");
    ASSERT_TRUE(Utillib::writeFile(fresh, "ab", 2, false));
    EXPECT_EQ(testsupport::readFile(fresh), "ab");
}

TEST(WriteFile, RetriesAHeldFileTenTimesThenGivesUpWithItsContentIntact)
{
    TempDir dir;
    std::string path = dir.file("export.sdb");
    writeBytes(path, "old");
    platform::ManualClock clock;
    platform::setClock(&clock);
    auto start = platform::tickCount();
    LogCapture log;
    {
        Holder holder(path);
        EXPECT_FALSE(Utillib::writeFile(path, "new", 3, true));
    }
    platform::setClock(nullptr);
    std::string text = log.text();
    EXPECT_EQ(countOf(text, "Could not access file '" + path + "' error: "), 10);
    EXPECT_EQ(countOf(text, "Could not open file '" + path + "' for saving\n"), 1);
    EXPECT_EQ(clock.now - start, 9u * 200u); // nine waits between ten tries
    EXPECT_EQ(testsupport::readFile(path), "old");

    // Released, the next write gets through.
    EXPECT_TRUE(Utillib::writeFile(path, "new", 3, false));
    EXPECT_EQ(testsupport::readFile(path), "new");
}

TEST(WriteFile, UnwritablePlacesFail)
{
    TempDir dir;
    LogCapture log;
    platform::ManualClock clock;
    platform::setClock(&clock);
    EXPECT_FALSE(Utillib::writeFile(dir.file("no/such/folder/file"), "x", 1, false));
    platform::setClock(nullptr);
    EXPECT_NE(log.text().find("for saving"), std::string::npos);
}

// Both ways a user's file is saved replace the file a link leads to and leave
// the link in place, whatever the link's form.
TEST(WriteFile, ASymbolicLinkIsFollowedNotReplaced)
{
    struct Saver {
        const char* name;
        std::function<bool(const std::string&, const std::string&)> save;
    } savers[] = {
        { "writeFile", [](const std::string& path, const std::string& bytes) {
             return Utillib::writeFile(path, bytes.data(), bytes.size(), false);
         } },
        { "replaceFile", [](const std::string& path, const std::string& bytes) {
             return platform::replaceFile(path, bytes.data(), bytes.size()) == platform::ReplaceResult::replaced;
         } },
    };
    for (const Saver& saver : savers) {
        TempDir dir;
        ASSERT_EQ(::mkdir(dir.file("real").c_str(), 0755), 0);
        writeBytes(dir.file("real/settings"), "old");
        struct Case {
            const char* link;
            std::string target; // as written into the link
            std::string file;   // the file it leads to
        } cases[] = {
            { "absolute", dir.file("real/settings"), dir.file("real/settings") },
            { "relative", "real/settings", dir.file("real/settings") },
            { "chained", "absolute", dir.file("real/settings") },
            { "dangling", "real/later", dir.file("real/later") },
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(saver.name) + ", " + c.link);
            std::string link = dir.file(c.link);
            ASSERT_EQ(::symlink(c.target.c_str(), link.c_str()), 0);
            ASSERT_TRUE(saver.save(link, std::string("new ") + c.link));
            struct stat info;
            ASSERT_EQ(::lstat(link.c_str(), &info), 0);
            EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link was replaced by a plain file";
            EXPECT_EQ(testsupport::readFile(c.file), std::string("new ") + c.link);
        }
        // Links that go round lead to no file: nothing is written, nothing replaced.
        std::string loop = dir.file("loop");
        ASSERT_EQ(::symlink("loop", loop.c_str()), 0);
        LogCapture log;
        platform::ManualClock clock;
        platform::setClock(&clock);
        EXPECT_FALSE(saver.save(loop, "x")) << saver.name;
        platform::setClock(nullptr);
        struct stat info;
        ASSERT_EQ(::lstat(loop.c_str(), &info), 0);
        EXPECT_TRUE(S_ISLNK(info.st_mode));
    }
}

TEST(FileExists, FilesAndFoldersWithOrWithoutTrailingSeparator)
{
    TempDir dir;
    writeBytes(dir.file("f"), "x");
    EXPECT_TRUE(Utillib::fileExists(dir.path()));
    EXPECT_TRUE(Utillib::fileExists(dir.path() + "/"));
    EXPECT_TRUE(Utillib::fileExists(dir.path() + "\\"));
    EXPECT_TRUE(Utillib::fileExists(dir.file("f")));
    EXPECT_FALSE(Utillib::fileExists(dir.file("g")));
    EXPECT_FALSE(Utillib::fileExists(""));
}

TEST(RemoveReadOnly, MakesTheFileWritableAndSaysSo)
{
    TempDir dir;
    std::string path = dir.file("f");
    writeBytes(path, "x");
    ::chmod(path.c_str(), 0444);
    LogCapture log;
    Utillib::removeReadOnly(path, true);
    struct stat info;
    ::stat(path.c_str(), &info);
    EXPECT_TRUE(info.st_mode & S_IWUSR);
    EXPECT_NE(log.text().find("Removed read-only attribute on " + path), std::string::npos);
}

TEST(SystemErrorText, KnownAndUnknownCodes)
{
    EXPECT_EQ(Utillib::systemErrorText(ENOENT), "No such file or directory");
    EXPECT_EQ(Utillib::systemErrorText(987654), "Unknown error: 987654");
    EXPECT_EQ(Utillib::systemErrorTextW(987654), L"Unknown error: 987654");
}

TEST(ReplaceAll, LeftToRightWithoutRescanning)
{
    struct Case {
        const wchar_t *text, *from, *to, *expected;
    } cases[] = {
        { L"a-b-c", L"-", L"+", L"a+b+c" },
        { L"aaa", L"aa", L"b", L"ba" },
        { L"ab", L"a", L"aa", L"aab" },
        { L"none", L"x", L"y", L"none" },
        { L"keep", L"", L"y", L"keep" },
        { L"", L"a", L"b", L"" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utillib::replaceAll(c.text, c.from, c.to), c.expected) << c.text;
}

TEST(ToLocalDate, ShortDateOfTheUserOrNothing)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Utillib::toLocalDate("2024-03-15"), "15.03.24");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Utillib::toLocalDate("2024-03-15"), "3/15/24");
    for (const char* bad : { "2024-02-30", "2024-1x-01", "abcd-03-15", "20x4-03-15", "2024", "" })
        EXPECT_EQ(Utillib::toLocalDate(bad), "") << bad;
    QLocale::setDefault(QLocale::system());
}

// The program may speak German or Japanese on a system whose locale writes
// month names in English (the plain C locale does): no month name is shown.
TEST(ToLocalDate, NamesNoMonthInTheSystemsLanguage)
{
    const struct {
        QLocale locale;
        const char* expected;
    } cases[] = {
        { QLocale::c(), "2026-12-11" },
        { QLocale(QLocale::English, QLocale::UnitedKingdom), "11/12/2026" },
        { QLocale(QLocale::Japanese, QLocale::Japan), "2026/12/11" },
    };
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(Utillib::toLocalDate("2026-12-11"), c.expected) << c.locale.name().toStdString();
    }
    QLocale::setDefault(QLocale::system());
}

// The About box's build line in the language the program speaks; the
// compiler's English text where no other language is spoken or the text is
// no date.
TEST(LocalBuildDate, LongFormOfTheLanguageWithoutTimeZone)
{
    const struct {
        const char* date;
        const char* time;
        const char* language;
        std::wstring expected;
    } cases[] = {
        { "Dec  1 2026", "16:07:03", "de", L"Dienstag, 1. Dezember 2026 16:07:03" },
        { "Dec 11 2026", "09:05:00", "ja", L"2026年12月11日金曜日 9時05分00秒" },
        { "Dec  1 2026", "16:07:03", "en", L"Dec  1 2026, 16:07:03" },
        { "Dec  1 2026", "16:07:03", "", L"Dec  1 2026, 16:07:03" },
        { "Dec  1 2026", "16:07:03", "xx", L"Dec  1 2026, 16:07:03" },
        { "Dez  1 2026", "16:07:03", "de", L"Dez  1 2026, 16:07:03" },
        { "Feb 30 2026", "16:07:03", "de", L"Feb 30 2026, 16:07:03" },
        { "Dec  1 2026", "25:07:03", "de", L"Dec  1 2026, 25:07:03" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utillib::localBuildDate(c.date, c.time, c.language), c.expected) << c.date << " " << c.language;
    // The build of this very test in German: no English month, no zone.
    const std::wstring here = Utillib::localBuildDate(__DATE__, __TIME__, "de");
    EXPECT_EQ(here.find(L"UTC"), std::wstring::npos);
    EXPECT_NE(here, Utillib::localBuildDate(__DATE__, __TIME__, "en"));
}

TEST(Geometry, FitInsideAroundAndCeiling)
{
    SIZE inside = Utillib::fitInside(200, 100, 4, 3);
    EXPECT_EQ(inside.cx, 133);
    EXPECT_EQ(inside.cy, 100);
    SIZE around = Utillib::fitAround(200, 100, 4, 3);
    EXPECT_EQ(around.cx, 200);
    EXPECT_EQ(around.cy, 150);
    SIZE unchanged = Utillib::fitInside(7, 9, 0, 3);
    EXPECT_EQ(unchanged.cx, 7);
    EXPECT_EQ(unchanged.cy, 9);
    EXPECT_EQ(Utillib::ceilToInt(1.2), 2);
    EXPECT_EQ(Utillib::ceilToInt(-1.2), -1);
    EXPECT_EQ(Utillib::unixTimeToFileTime(0), 116444736000000000ULL);
}

} // namespace
