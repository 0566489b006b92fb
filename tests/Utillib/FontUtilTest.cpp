#include "Utillib/FontUtil.h"

#include "GuiApp.h"
#include "platform/CodePage.h"
#include "support/TestSupport.h"

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class FontUtilTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { guiApp(); }
};

TEST_F(FontUtilTest, CharsetFollowsTheAnsiCodePage)
{
    EXPECT_EQ(FontUtil::charsetOfCodePage(1252), FontUtil::ANSI_CHARSET);
    EXPECT_EQ(FontUtil::charsetOfCodePage(932), FontUtil::SHIFTJIS_CHARSET);
    EXPECT_EQ(FontUtil::charsetOfCodePage(949), FontUtil::HANGUL_CHARSET);
    EXPECT_EQ(FontUtil::charsetOfCodePage(936), FontUtil::GB2312_CHARSET);

    ASSERT_TRUE(platform::setAnsiCodePage(932));
    EXPECT_EQ(FontUtil::getCharset(), 128);
    EXPECT_TRUE(FontUtil::isNonAnsiCharset());
    ASSERT_TRUE(platform::setAnsiCodePage(1252));
    EXPECT_EQ(FontUtil::getCharset(), 0);
    EXPECT_TRUE(FontUtil::isNonAnsiCharset()); // found out once per run
}

TEST_F(FontUtilTest, PointSizesBecomeNegativePixelHeights)
{
    QImage at96(10, 10, QImage::Format_RGB32);
    at96.setDotsPerMeterY(3780); // 96 dpi
    EXPECT_EQ(FontUtil::pointSizeToHeight(100, &at96), -13);
    QImage at300(10, 10, QImage::Format_RGB32);
    at300.setDotsPerMeterY(11811); // 300 dpi
    EXPECT_EQ(FontUtil::pointSizeToHeight(80, &at300), -33);
    int screenDpi = static_cast<int>(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
    EXPECT_EQ(FontUtil::pointSizeToHeight(-120, nullptr), -(120 * screenDpi / 720));
}

TEST_F(FontUtilTest, CreateMakesTheRequestedFont)
{
    QFont font;
    FontUtil::create(font, "DejaVu Sans", -20, true, true);
    EXPECT_EQ(font.family(), "DejaVu Sans");
    EXPECT_EQ(font.pixelSize(), 20);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());

    // A cell height counts the leading too, so it comes out at about that height.
    FontUtil::create(font, "DejaVu Sans", 40, false, false);
    EXPECT_FALSE(font.bold());
    EXPECT_NEAR(FontUtil::getHeight(font), 40, 2);
    EXPECT_LT(font.pixelSize(), 40);
}

TEST_F(FontUtilTest, AFaceThatCannotBeAskedForGivesTheSystemFontAndOneLine)
{
    testsupport::LogCapture log;
    QFont font;
    std::string face(40, 'F');
    FontUtil::create(font, face, -12, false, true);
    EXPECT_EQ(font, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    std::string text = log.text();
    std::string line = "FontUtil::create( .., " + face + ", -12, false, true) : can't create font.\n";
    EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_EQ(text.find("can't create"), text.rfind("can't create"));
}

TEST_F(FontUtilTest, ExistsLooksForTheFaceInTheCharset)
{
    EXPECT_TRUE(FontUtil::exists("DejaVu Sans", FontUtil::ANSI_CHARSET));
    EXPECT_TRUE(FontUtil::exists("dejavu sans", FontUtil::RUSSIAN_CHARSET));
    EXPECT_TRUE(FontUtil::exists("DejaVu Sans", nullptr, FontUtil::DEFAULT_CHARSET));
    EXPECT_FALSE(FontUtil::exists("DejaVu Sans", FontUtil::SHIFTJIS_CHARSET));
    EXPECT_FALSE(FontUtil::exists("No Such Face", FontUtil::DEFAULT_CHARSET));
    EXPECT_EQ(FontUtil::smallFontsExists(), FontUtil::exists("Small Fonts", FontUtil::ANSI_CHARSET));
}

} // namespace
