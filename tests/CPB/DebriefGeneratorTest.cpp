#include "CPB/BarGenerator.h"
#include "CPB/DebriefGenerator.h"
#include "CPB/EventIconImages.h"
#include "ScreenImage.h"
#include "config/LangStruct.h"
#include "platform/CodePage.h"
#include "platform/OemText.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QPainter>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Simple event pictograms: a black figure with a grey shadow and a red mark on
// a transparent ground, so that only the black pixels may become dots.
class TestIcons : public EventIconImages {
public:
    QImage image24(int number) const override
    {
        if (number < 0 || number >= 97)
            return {};
        QImage icon(24, 24, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        p.fillRect(3, 3, 18, 18, QColor(128, 128, 128));
        p.fillRect(2, 2, 16, 16, Qt::black);
        p.fillRect(5, 5, 10, 10, Qt::white);
        p.fillRect(8, 8, 2 + number % 5, 2 + number % 5, Qt::black);
        p.fillRect(20, 0, 4, 2, Qt::red);
        return icon;
    }
};

Algorithm builtIn(bool aha)
{
    Algorithm a;
    a.Name = aha ? "AHA 2005 (American Heart Association)" : "ERC 2005 (European Resuscitation Council)";
    a.initVent = aha ? 2 : 0;
    a.ventCompRatioDoubleComp = 30;
    a.ventCompRatioDoubleVent = 2;
    a.ventCompRatioSingleComp = 30;
    a.vRateLow = 3;
    a.vRateHigh = 6;
    a.vVolLow = 0.5;
    a.vVolHigh = 0.6;
    a.builtIn = true;
    return a;
}

PropertyModel everythingOff()
{
    PropertyModel m;
    m.enableLegends = false;
    m.printApprovalFields = false;
    for (bool* b : { &m.showInitialVentilations, &m.showVentilationRate, &m.showAverageVolume, &m.showStomachInflations,
                     &m.showCompressionRate, &m.showCompressionDepth, &m.showWrongHandPositions })
        *b = false;
    return m;
}

PropertyModel everythingOn()
{
    PropertyModel m;
    m.enableLegends = true;
    m.printApprovalFields = true;
    m.printHeading = L"Rettungsschule M\u00fcnchen";
    const char* legends[] = { "Airway", "Pulse check", "Defibrillation", "Adrenaline", "Call for help", "" };
    for (int i = 0; i < 6; ++i) {
        m.setIconNumber(i, 10 * i + 3);
        m.setLegend(i, legends[i]);
    }
    return m;
}

ByteVector text(const std::string& s) { return ByteVector(s.begin(), s.end()); }

ByteVector operator<<(ByteVector v, const ByteVector& more)
{
    v.insert(v.end(), more.begin(), more.end());
    return v;
}
ByteVector operator<<(ByteVector v, const std::string& s) { return std::move(v) << text(s); }
ByteVector lineEnds(int n) { return ByteVector(static_cast<std::size_t>(n), 13); }
ByteVector fill(int n) { return ByteVector(static_cast<std::size_t>(n), 95); }

// The field-code letters of a screen in order, bit images skipped.
std::string fieldLetters(const ByteVector& s)
{
    std::string letters;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == 27 && i + 4 < s.size() && s[i + 1] == 42 && s[i + 2] == 32 && s[i + 3] == 24 && s[i + 4] == 0)
            i += 4 + 72;
        else if (s[i] == 3 && i + 1 < s.size())
            letters += static_cast<char>(s[++i]);
    }
    return letters;
}

class DebriefScreens : public ::testing::Test {
protected:
    DebriefScreens()
        : oldFolder(std::filesystem::current_path())
    {
        // Catalogues are found by language code in the working folder.
        std::filesystem::current_path(CATALOGUE_DIR);
        EventIconImages::install(&icons);
    }
    ~DebriefScreens() override
    {
        EventIconImages::install(nullptr);
        platform::setAnsiCodePage(1252);
        std::filesystem::current_path(oldFolder);
    }

    std::filesystem::path oldFolder;
    TestIcons icons;
    testsupport::LogCapture log;
};

TEST_F(DebriefScreens, EverythingOffLeavesTheHeaderAndTheEnd)
{
    BarGenerator bars(PropertyModel(), builtIn(true));
    DebriefGenerator screen(everythingOff(), LangStruct::indexOf("en"), &bars, "AHA 2005");
    ByteVector expected = lineEnds(1) << "Tavo International A/S" << lineEnds(2) << "Training Results" << lineEnds(4)
        << "Date: " << fill(26) << lineEnds(2) << "Ventilation: " << fill(19) << lineEnds(2) << "Compression: "
        << fill(19) << lineEnds(2) << "Algorithm: AHA 2005" << lineEnds(2) << "Metronome: " << ByteVector { 3, 'B' }
        << lineEnds(2) << ByteVector { 3, 'V' };
    EXPECT_EQ(screen.getData(), expected);
}

TEST_F(DebriefScreens, EveryBlockInItsPlace)
{
    BarGenerator bars { PropertyModel(), Algorithm() };
    DebriefGenerator screen(everythingOn(), 0, &bars, "AHA 2005");
    const ByteVector& s = screen.getData();
    EXPECT_EQ(fieldLetters(s), "BCDFGHIJKLNOPQRSTV");
    EXPECT_EQ(std::vector<std::uint8_t>(s.end() - 2, s.end()), (ByteVector { 3, 'V' }));

    auto contains = [&](const ByteVector& part) { return std::search(s.begin(), s.end(), part.begin(), part.end()) != s.end(); };
    ByteVector g = ByteVector(13, ' ') << ByteVector { 3, 'G' } << " /min";
    EXPECT_EQ(g.size(), 20u);
    ByteVector o = ByteVector(12, ' ') << ByteVector { 3, 'O' } << " /min";
    ByteVector j = ByteVector(13, ' ') << ByteVector { 3, 'J' } << " L";
    ByteVector r = ByteVector(13, ' ') << ByteVector { 3, 'R' } << " mm";
    for (const ByteVector* line : { &g, &o, &j, &r })
        EXPECT_TRUE(contains(lineEnds(1) << *line << lineEnds(2)));

    ByteVector rate = text("Ventilation rate") << lineEnds(1) << bars.row(1) << lineEnds(1) << g << lineEnds(2);
    EXPECT_TRUE(contains(rate));
    ByteVector depth = text("Compression depth") << lineEnds(1) << "Total: " << ByteVector { 3, 'P' } << lineEnds(1)
                                                 << bars.row(5) << lineEnds(1) << r << lineEnds(2);
    EXPECT_TRUE(contains(depth));
    ByteVector footer = text("Instructor: ") << fill(20) << lineEnds(2) << "Approved: __ Yes __ No" << lineEnds(2)
                                              << "Comments:" << lineEnds(16) << ByteVector { 3, 'V' };
    EXPECT_TRUE(contains(footer));
    // The heading in the unit's OEM code page: u-umlaut is 0x81 there (0xFC in the PC's page).
    EXPECT_TRUE(contains(text("Rettungsschule M\x81nchen")));
    // The legends: a line end, then per slot the picture, a blank, the text, two line ends.
    ByteVector firstLegend { 13, 27, 42, 32, 24, 0 };
    EXPECT_TRUE(std::equal(firstLegend.begin(), firstLegend.end(), s.begin()));
    EXPECT_EQ(ByteVector(s.begin() + 78, s.begin() + 87), (text(" Airway") << lineEnds(2)));
}

TEST_F(DebriefScreens, PicturesAreBlackDotsOnAWhiteGround)
{
    QImage picture = IconRendering::render24(&icons, 4);
    ByteVector dots = IconRendering::bitImage(picture);
    ASSERT_EQ(dots.size(), 72u);
    for (int x = 0; x < 24; ++x)
        for (int y = 0; y < 24; ++y) {
            bool black = (picture.pixel(x, y) & 0xFFFFFF) == 0;
            bool dot = dots[static_cast<std::size_t>(3 * x + y / 8)] & (0x80 >> (y % 8));
            QColor c = picture.pixelColor(x, y);
            EXPECT_TRUE(black || c == Qt::white || c == QColor(128, 128, 128) || c == Qt::red);
            if (y % 8 < 6) { // the low two bits may have been changed from 3 to 2
                EXPECT_EQ(dot, black) << x << "," << y;
            }
        }
    EXPECT_EQ(dots[3 * 2], 0x3F) << "column 2: dots 2 to 7";
    EXPECT_EQ(dots[3 * 20], 0) << "red is no dot";

    // Dots at rows 6 and 7 only make a byte of 3, which never appears.
    class TwoDots : public EventIconImages {
        QImage image24(int) const override
        {
            QImage i(24, 24, QImage::Format_ARGB32);
            i.fill(Qt::transparent);
            i.setPixelColor(0, 6, Qt::black);
            i.setPixelColor(0, 7, Qt::black);
            return i;
        }
    } twoDots;
    ByteVector small = IconRendering::bitImage(IconRendering::render24(&twoDots, 0));
    EXPECT_EQ(small[0], 2);
    EXPECT_EQ(std::count(small.begin(), small.end(), 3), 0);

    EXPECT_EQ(IconRendering::bitImage(IconRendering::render24(nullptr, 0)), ByteVector(72, 0))
        << "without icons the picture is blank";
    EXPECT_EQ(IconRendering::bitImage(IconRendering::render24(&icons, 97)), ByteVector(72, 0));
}

TEST(IconSlots, OnlyBlackPixelsOfTheIconOfThatSizeBecomeSetBits)
{
    // One black pixel at (9, 2), a grey shadow, a red mark, the rest transparent;
    // the 32-pixel picture has a second black pixel at (31, 31).
    class Marked : public EventIconImages {
        static QImage make(int size)
        {
            QImage i(size, size, QImage::Format_ARGB32);
            i.fill(Qt::transparent);
            i.setPixelColor(9, 2, Qt::black);
            i.setPixelColor(10, 2, QColor(1, 0, 0));
            i.setPixelColor(0, 0, Qt::red);
            if (size == 32)
                i.setPixelColor(31, 31, Qt::black);
            return i;
        }
        QImage image24(int n) const override { return n == 5 ? make(24) : QImage(); }
        QImage image32(int n) const override { return n == 5 ? make(32) : QImage(); }
    } marked;

    ByteVector big = IconRendering::deviceIcon32(&marked, 5);
    ByteVector expected32(128, 0);
    expected32[34] = 0x40;        // (9, 2): byte 2 + 32 * 1, bit 6
    expected32[31 + 32 * 3] = 0x01; // (31, 31)
    EXPECT_EQ(big, expected32);

    ByteVector small = IconRendering::deviceIcon24(&marked, 5);
    ByteVector expected24(72, 0);
    expected24[64] = 0x40; // (9, 2): byte 69 - 6 + 1, bit 6
    EXPECT_EQ(small, expected24);

    EXPECT_EQ(IconRendering::deviceIcon32(&marked, 6), ByteVector(128, 0)) << "no such icon: a blank slot";
    EXPECT_EQ(IconRendering::deviceIcon24(nullptr, 5), ByteVector(72, 0));
}

TEST_F(DebriefScreens, TranslatedLabelsKeepTheirLinesAndUnknownLanguagesStayEnglish)
{
    BarGenerator bars { PropertyModel(), Algorithm() };
    DebriefGenerator odd(everythingOff(), LONG_LABELS, &bars, "X");
    ByteVector s = odd.getData();
    ByteVector header = lineEnds(1) << "Tavo International A/S" << lineEnds(2) << "Ergebnissedes Trainings" << lineEnds(4)
           << "Datum und Uhrzeit der Trainingseinheit: " << lineEnds(2) << "Ventilation: " << fill(19);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), s.begin())) << "a wide label gets no fill and is not cut";

    DebriefGenerator unknown(everythingOff(), LangStruct::count, &bars, "X");
    EXPECT_TRUE(log.hasAssertion("langs[nr].second.empty() == false"));
    DebriefGenerator english(everythingOff(), 0, &bars, "X");
    EXPECT_EQ(unknown.getData(), english.getData());
    EXPECT_STREQ(DebriefGenerator::langArray(23), "");
    EXPECT_TRUE(log.hasAssertion("false"));
}

TEST_F(DebriefScreens, ScreenTooLargeForItsSlotIsFlagged)
{
    PropertyModel m = everythingOn();
    BarGenerator bars(m, Algorithm());
    EXPECT_TRUE(DebriefGenerator(m, 1, &bars, "AHA 2005").fitsSlot());
    for (int i = 0; i < 6; ++i)
        m.setLegend(i, std::string(250, 'x'));
    DebriefGenerator big(m, 1, &bars, "AHA 2005");
    EXPECT_GT(big.getData().size(), DebriefGenerator::SLOT_SIZE);
    EXPECT_FALSE(big.fitsSlot());
}

// Every built-in guideline in every shipped language, with everything shown:
// each fits its slot, and an image of each lands in the artefact folder.
TEST_F(DebriefScreens, BuiltInGuidelinesInEveryShippedLanguage)
{
    std::filesystem::create_directories(ARTEFACT_DIR);
    struct Language {
        const char* code;
        unsigned ansi;
        ByteVector expected; // a translated label as the unit receives it
    };
    const std::vector<Language> languages {
        { "en", 1252, text("Training Results") },
        { "de", 1252, text("Trainingsergebnisse") },
        // "合計" in code page 932, which is the OEM page as well.
        { "ja", 932, { 0x8D, 0x87, 0x8C, 0x76 } },
    };
    for (bool aha : { true, false }) {
        for (const Language& language : languages) {
            SCOPED_TRACE(std::string(language.code) + (aha ? " AHA" : " ERC"));
            ASSERT_TRUE(platform::setAnsiCodePage(language.ansi));
            PropertyModel m = everythingOn();
            if (language.ansi == 932)
                m.printHeading = L"\u6771\u4eac\u6551\u547d\u30bb\u30f3\u30bf\u30fc"; // a Tokyo training centre
            Algorithm algorithm = builtIn(aha);
            BarGenerator bars(m, algorithm);
            DebriefGenerator screen(m, language.code, &bars, aha ? "AHA 2005" : "ERC 2005");
            const ByteVector& s = screen.getData();
            EXPECT_TRUE(screen.fitsSlot()) << s.size() << " bytes";
            EXPECT_EQ(fieldLetters(s), "BCDFGHIJKLNOPQRSTV");
            EXPECT_NE(std::search(s.begin(), s.end(), language.expected.begin(), language.expected.end()), s.end());
            EXPECT_EQ(std::search(s.begin(), s.end(), bars.row(5).begin(), bars.row(5).end()) == s.end(), false);
            QImage image = renderScreen(s, platform::oemCodePage());
            std::string name = std::string(ARTEFACT_DIR) + "/screen-" + (aha ? "aha-" : "erc-") + language.code + ".png";
            EXPECT_TRUE(image.save(QString::fromStdString(name)));
        }
    }
}

} // namespace
