#include "config/ConfigurationFile.h"

#include "support/TestSupport.h"

#include <bit>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using testsupport::LogCapture;
using testsupport::TempDir;

// Builds stored images byte by byte, independently of the serializer.
struct Image {
    std::string bytes;
    Image& u8(unsigned v) { bytes += static_cast<char>(v); return *this; }
    Image& i32(std::int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            u8((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
        return *this;
    }
    Image& f64(double v)
    {
        auto bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i)
            u8((bits >> (8 * i)) & 0xFF);
        return *this;
    }
    Image& str(const std::string& s) { i32(static_cast<std::int32_t>(s.size())); bytes += s; return *this; }

    // Fields 1 to 34 of a default model, after the version.
    Image& defaultsUpToPrinting()
    {
        u8(1).f64(100.0);
        for (int i = 0; i < 7; ++i)
            u8(i == 1 ? 0 : 1); // showCardiacOutput is off
        f64(1.5).f64(6.0).u8(1).u8(1);
        f64(0.03).f64(0.01).f64(1.4).f64(6.0);
        u8(1).u8(1).u8(1).u8(1).i32(9);
        u8(1).u8(1).u8(1).u8(0);
        f64(30.0).f64(52.0);
        i32(0); // empty heading
        u8(1).i32(5).u8(1).u8(1).u8(1);
        return *this;
    }
    Image& defaultControllerSetup()
    {
        str("AHA 2005").str("ERC 2005");
        i32(6);
        for (int i = 0; i < 6; ++i)
            i32(i);
        i32(3).str("en").str("de").str("fr");
        i32(6);
        for (int i = 0; i < 6; ++i)
            str("");
        u8(1).u8(0);
        return *this;
    }
};

std::string defaultImage()
{
    return Image().i32(1).defaultsUpToPrinting().defaultControllerSetup().i32(0x1234).bytes;
}

std::string version0Image(std::int32_t trailer = 0x1234)
{
    return Image().i32(0).defaultsUpToPrinting().i32(trailer).bytes;
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every setting away from its default, with text that needs care.
PropertyModel unusualModel()
{
    PropertyModel m;
    m.endSound = false;
    m.metronomeFrequency = 250;
    m.debriefingAsCounts = false;
    m.showCardiacOutput = true;
    m.showMinuteVolume = m.showAverageVolume = m.showInitialVentilations = false;
    m.showVentilationRate = m.showStomachInflations = false;
    m.minuteVolumeLow = 0.0001;
    m.minuteVolumeHigh = 50;
    m.showVentCompRatio = m.showComments = false;
    m.cardiacOutputPerCompression = 100;
    m.cardiacOutputPerWrongHand = 0;
    m.cardiacOutputLow = 0.01;
    m.cardiacOutputHigh = 99.5;
    m.showCompressionRate = m.showCompressionDepth = m.showCompRelaxRatio = m.showPause = false;
    m.maxPause = 100;
    m.showWrongHandPositions = m.showLeanings = m.compRelaxAsPercent = false;
    m.overrideDepth = true;
    m.depthLow = 38.5;
    m.depthHigh = 51.25;
    m.printHeading = L"Caf\u00e9 course\r\nRoom \u65e5 \U0001F600";
    m.printGraph = false;
    m.graphPrintMinutes = 240;
    m.printDebriefingText = m.printApprovalFields = m.printEventList = false;
    m.setAlgorithm1Name("Local \xE9tude");
    m.setAlgorithm2Name("");
    for (int i = 0; i < 6; ++i) {
        m.setIconNumber(i, 96 - i);
        m.setLegend(i, "Legend " + std::to_string(i));
    }
    m.setLanguage(0, "ko");
    m.setLanguage(1, "ru");
    m.setLanguage(2, "en");
    m.registerEvents = false;
    m.enableLegends = true;
    return m;
}

TEST(ConfigurationFile, DefaultModelIsThe218ByteImage)
{
    TempDir dir;
    std::string path = dir.file(ConfigurationFile::fileName);
    ASSERT_TRUE(ConfigurationFile::saveFile(path, PropertyModel()));
    std::string saved = testsupport::readFile(path);
    EXPECT_EQ(saved.size(), 218u);
    EXPECT_EQ(saved, defaultImage());

    PropertyModel loaded;
    loaded.magic = 0;
    ASSERT_TRUE(ConfigurationFile::loadFile(path, loaded));
    EXPECT_TRUE(loaded == PropertyModel());
    EXPECT_EQ(loaded.magic, 4660);
}

TEST(ConfigurationFile, EverySettingSurvivesARoundTrip)
{
    TempDir dir;
    std::string path = dir.file(ConfigurationFile::fileName);
    writeBytes(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
            | std::filesystem::perms::group_read);
    PropertyModel original = unusualModel();
    ASSERT_TRUE(ConfigurationFile::saveFile(path, original));
    // The replacement keeps the permissions the user gave the old file.
    EXPECT_EQ(std::filesystem::status(path).permissions(),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
    PropertyModel loaded;
    ASSERT_TRUE(ConfigurationFile::loadFile(path, loaded));
    EXPECT_TRUE(loaded == original);
    EXPECT_EQ(loaded.printHeading, original.printHeading);
    EXPECT_EQ(loaded.getAlgorithm1Name(), "Local \xE9tude");
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path())->path().filename(), ConfigurationFile::fileName);
}

TEST(ConfigurationFile, Version0ImageGetsTheDefaultControllerSetup)
{
    TempDir dir;
    std::string path = dir.file("old.cprcfg");
    std::string image = version0Image();
    ASSERT_EQ(image.size(), 114u);
    writeBytes(path, image);

    PropertyModel loaded = unusualModel();
    ASSERT_TRUE(ConfigurationFile::loadFile(path, loaded));
    EXPECT_TRUE(loaded == PropertyModel());
    EXPECT_EQ(loaded.magic, 4660);
}

TEST(ConfigurationFile, DamagedFilesLeaveTheSettingsAndLogOneLine)
{
    const std::string overflow = "': XTL mem_buffer overflow";
    const std::string incomplete = "'. Ignoring file.";
    struct Case {
        const char* name;
        std::string image;
        std::string logTail;
    };
    std::string badTrailer = defaultImage();
    badTrailer[214] = 0x35; // 4661
    std::string hugeName = Image().i32(1).defaultsUpToPrinting().i32(0x7FFFFFF0).str("x").bytes;
    std::string negativeName = Image().i32(1).defaultsUpToPrinting().i32(-5).bytes + std::string(200, '\0');
    auto withIconCount = [](std::int32_t count) {
        Image i;
        i.i32(1).defaultsUpToPrinting().str("AHA 2005").str("ERC 2005").i32(count);
        for (int k = 0; k < count; ++k)
            i.i32(k);
        i.i32(3).str("en").str("de").str("fr").i32(6);
        for (int k = 0; k < 6; ++k)
            i.str("");
        return i.u8(1).u8(0).i32(0x1234).bytes;
    };
    const Case cases[] = {
        { "empty", "", overflow },
        { "cut inside the heading count", defaultImage().substr(0, 100), overflow },
        { "cut inside the trailer", defaultImage().substr(0, 216), overflow },
        { "newer version", Image().i32(2).bytes + defaultImage().substr(4),
          "': Unsupported version in PropertyModel data!" },
        { "negative version", Image().i32(-1).bytes + defaultImage().substr(4),
          "': Unsupported version in PropertyModel data!" },
        { "wrong trailer", badTrailer, incomplete },
        { "version 0 with a wrong trailer", version0Image(0x1235), incomplete },
        { "name longer than the file", hugeName, overflow },
        { "negative name length", negativeName, overflow },
        { "five icons", withIconCount(5), incomplete },
        { "seven icons", withIconCount(7), incomplete },
    };
    for (const Case& c : cases) {
        TempDir dir;
        LogCapture log;
        std::string path = dir.file("configuration.cprcfg");
        writeBytes(path, c.image);
        PropertyModel settings = unusualModel();
        EXPECT_FALSE(ConfigurationFile::loadFile(path, settings)) << c.name;
        EXPECT_TRUE(settings == unusualModel()) << c.name;
        std::string expected = (c.logTail == incomplete ? "Could not read all of the configuration in file '"
                                                        : "Could not load configuration file '")
            + path + c.logTail + "\n";
        EXPECT_NE(log.text().find(expected), std::string::npos) << c.name << "\n" << log.text();
    }
}

TEST(ConfigurationFile, EveryCutOfAWholeFileIsRefused)
{
    LogCapture log;
    std::string image = defaultImage();
    for (std::size_t size = 0; size < image.size(); ++size) {
        PropertyModel settings = unusualModel();
        EXPECT_FALSE(ConfigurationFile::readImage(image.data(), size, "cut", settings)) << size;
        EXPECT_TRUE(settings == unusualModel()) << size;
    }
}

TEST(ConfigurationFile, BytesAfterTheTrailerAndPastTheBufferAreIgnored)
{
    TempDir dir;
    std::string path = dir.file("long.cprcfg");
    writeBytes(path, defaultImage() + std::string(60000, '\x7F'));
    PropertyModel loaded = unusualModel();
    EXPECT_TRUE(ConfigurationFile::loadFile(path, loaded));
    EXPECT_TRUE(loaded == PropertyModel());

    // A heading that runs past the 51200 bytes read is a cut file.
    std::string longFile = Image().i32(1).defaultsUpToPrinting().bytes;
    longFile.resize(98);
    longFile += Image().i32(60000).bytes + std::string(60000, 'x');
    writeBytes(path, longFile + defaultImage().substr(102));
    LogCapture log;
    EXPECT_FALSE(ConfigurationFile::loadFile(path, loaded));
    EXPECT_NE(log.text().find("XTL mem_buffer overflow"), std::string::npos);
}

TEST(ConfigurationFile, MissingFileLogsOnlyTheOpenLine)
{
    TempDir dir;
    LogCapture log;
    std::string path = dir.file("configuration.cprcfg");
    PropertyModel settings;
    EXPECT_FALSE(ConfigurationFile::loadFile(path, settings));
    EXPECT_TRUE(settings == PropertyModel());
    std::string text = log.text();
    EXPECT_NE(text.find("Could not open configuration file '" + path + "' for loading.\n"), std::string::npos);
    EXPECT_EQ(text.find("Could not load"), std::string::npos);
}

TEST(ConfigurationFile, ImageTooBigForTheBufferWritesNothing)
{
    TempDir dir;
    LogCapture log;
    std::string path = dir.file("configuration.cprcfg");
    writeBytes(path, defaultImage());
    PropertyModel big;
    big.printHeading = std::wstring(30000, L'x');
    EXPECT_FALSE(ConfigurationFile::saveFile(path, big));
    EXPECT_EQ(testsupport::readFile(path), defaultImage());
    EXPECT_NE(log.text().find("Could not save configuration file '" + path + "': XTL mem_buffer overflow\n"),
        std::string::npos);
}

TEST(ConfigurationFile, SaveIntoAMissingFolderLogsTheOpenLine)
{
    TempDir dir;
    LogCapture log;
    std::string path = dir.file("gone/configuration.cprcfg");
    EXPECT_FALSE(ConfigurationFile::saveFile(path, PropertyModel()));
    EXPECT_NE(log.text().find("Could not open configuration file '" + path + "' for saving\n"), std::string::npos);
}

// A disk that fills up during the write: the old settings stay whole and no
// half-written file is left behind.
TEST(ConfigurationFile, FullDiskKeepsTheOldFile)
{
    TempDir dir;
    std::string path = dir.file("configuration.cprcfg");
    ASSERT_TRUE(ConfigurationFile::saveFile(path, PropertyModel()));
    LogCapture log;

    PropertyModel longer;
    longer.printHeading = std::wstring(20000, L'y'); // 40 kB, past the 16 kB limit below
    rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 16384;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved = ConfigurationFile::saveFile(path, longer);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(testsupport::readFile(path), defaultImage());
    EXPECT_NE(log.text().find("Could not write configuration file '" + path + "': "), std::string::npos);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files += entry.path().filename() != "errors.txt";
    EXPECT_EQ(files, 1);
}

} // namespace

namespace {

// A stored image of `model` exactly as written, whatever its values.
std::vector<char> imageOf(const PropertyModel& model)
{
    std::vector<char> image;
    EXPECT_TRUE(ConfigurationFile::writeImage(model, "test", image));
    return image;
}

} // namespace

TEST(ConfigurationFile, ValuesOutsideTheDialogsRangesTakeTheirDefaults)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        void (*spoil)(PropertyModel&, double nan, double inf);
        bool (*repaired)(const PropertyModel&);
    };
    const PropertyModel d;
    const Case cases[] = {
        { "metronomeFrequency", [](PropertyModel& m, double n, double) { m.metronomeFrequency = n; },
          [](const PropertyModel& m) { return m.metronomeFrequency == 100.0; } },
        { "metronomeFrequency", [](PropertyModel& m, double, double) { m.metronomeFrequency = 250.5; },
          [](const PropertyModel& m) { return m.metronomeFrequency == 100.0; } },
        { "depthHigh", [](PropertyModel& m, double, double i) { m.depthHigh = i; },
          [](const PropertyModel& m) { return m.depthHigh == 52.0; } },
        { "cardiacOutputPerWrongHand", [](PropertyModel& m, double, double) { m.cardiacOutputPerWrongHand = -0.5; },
          [](const PropertyModel& m) { return m.cardiacOutputPerWrongHand == 0.01; } },
        { "maxPause", [](PropertyModel& m, double, double) { m.maxPause = 0; },
          [](const PropertyModel& m) { return m.maxPause == 9; } },
        { "graphPrintMinutes", [](PropertyModel& m, double, double) { m.graphPrintMinutes = 241; },
          [](const PropertyModel& m) { return m.graphPrintMinutes == 5; } },
        // An icon number the boxes cannot show becomes its position's default.
        { "icon", [](PropertyModel& m, double, double) { m.icons[3] = 97; m.icons[4] = -1; },
          [](const PropertyModel& m) { return m.icons == std::vector<std::int32_t> { 0, 1, 2, 3, 4, 5 }; } },
    };
    for (const Case& c : cases) {
        PropertyModel spoilt;
        c.spoil(spoilt, nan, inf);
        std::vector<char> image = imageOf(spoilt);
        LogCapture log;
        PropertyModel loaded;
        loaded.endSound = false; // proves the file was taken
        ASSERT_TRUE(ConfigurationFile::readImage(image.data(), image.size(), "cfg", loaded)) << c.name;
        EXPECT_TRUE(c.repaired(loaded)) << c.name;
        EXPECT_TRUE(loaded.endSound);
        EXPECT_NE(log.text().find(std::string("'cfg': ") + c.name + " out of range"), std::string::npos) << c.name;
    }
    // The edges of each range are kept without a word.
    PropertyModel edges;
    edges.metronomeFrequency = 1;
    edges.minuteVolumeLow = 0.0001;
    edges.cardiacOutputPerCompression = 0;
    edges.maxPause = 100;
    edges.icons[0] = 96;
    std::vector<char> image = imageOf(edges);
    LogCapture log;
    PropertyModel loaded;
    ASSERT_TRUE(ConfigurationFile::readImage(image.data(), image.size(), "cfg", loaded));
    EXPECT_EQ(loaded, edges);
    EXPECT_EQ(log.text().find("out of range"), std::string::npos);
}

TEST(ConfigurationFile, AnInvertedMinuteVolumeRangeIsPutInOrder)
{
    PropertyModel inverted;
    inverted.minuteVolumeLow = 6.0;
    inverted.minuteVolumeHigh = 1.5;
    std::vector<char> image = imageOf(inverted);
    LogCapture log;
    PropertyModel loaded;
    ASSERT_TRUE(ConfigurationFile::readImage(image.data(), image.size(), "cfg", loaded));
    EXPECT_EQ(loaded.minuteVolumeLow, 1.5);
    EXPECT_EQ(loaded.minuteVolumeHigh, 6.0);
    EXPECT_NE(log.text().find("minute volume range inverted"), std::string::npos);
    // Saved again, the file holds the ordered pair: the default image.
    TempDir dir;
    ASSERT_TRUE(ConfigurationFile::saveFile(dir.file("c"), loaded));
    EXPECT_EQ(testsupport::readFile(dir.file("c")), defaultImage());
}

TEST(ConfigurationFile, LoadTellsAMissingFileFromARefusedOne)
{
    TempDir dir;
    PropertyModel model;
    EXPECT_EQ(ConfigurationFile::load(dir.file("none"), model), ConfigurationFile::LoadResult::missing);
    writeBytes(dir.file("cut"), defaultImage().substr(0, 100));
    EXPECT_EQ(ConfigurationFile::load(dir.file("cut"), model), ConfigurationFile::LoadResult::refused);
    writeBytes(dir.file("good"), defaultImage());
    EXPECT_EQ(ConfigurationFile::load(dir.file("good"), model), ConfigurationFile::LoadResult::loaded);

    // Put aside, replacing an older copy: one ".bad" file.
    writeBytes(dir.file("cut.bad"), "older");
    LogCapture log;
    EXPECT_TRUE(ConfigurationFile::keepRefusedFile(dir.file("cut")));
    EXPECT_EQ(testsupport::readFile(dir.file("cut.bad")), defaultImage().substr(0, 100));
    EXPECT_FALSE(std::filesystem::exists(dir.file("cut")));
    EXPECT_NE(log.text().find("is kept as"), std::string::npos);
    EXPECT_FALSE(ConfigurationFile::keepRefusedFile(dir.file("cut")));
}
