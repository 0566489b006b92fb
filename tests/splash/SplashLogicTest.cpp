#include "splash/SplashLogic.h"
#include "support/TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace splash;

TEST(SplashLogic, ChildCommandLineAndIniName)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string child;
        std::string ini;
    };
    const Case cases[] = {
        { {}, "main", "splash.ini" },
        { { "demo" }, "main demo", "splash.ini" },
        { { "custom:my.ini", "demo" }, "main custom:my.ini demo", "my.ini" },
        { { "lang:de", "custom:other.ini" }, "main lang:de custom:other.ini", "other.ini" },
        // "custom:" with nothing after it, or a blank, keeps the default.
        { { "custom:" }, "main custom:", "splash.ini" },
        { { "custom:", "x" }, "main custom: x", "splash.ini" },
        // An argument holding a blank stays one argument for the training program.
        { { "lang:/my files/de.mo" }, "main \"lang:/my files/de.mo\"", "splash.ini" },
    };
    for (const Case& c : cases) {
        const std::string line = joinArguments(c.arguments);
        EXPECT_EQ(childCommandLine(line), c.child);
        EXPECT_EQ(iniFileName(line), c.ini) << line;
    }
}

TEST(SplashLogic, IniPathBesideTheProgram)
{
    EXPECT_EQ(iniPath("/opt/tavo/bin/splash", "splash.ini"), std::optional<std::string>("/opt/tavo/bin/splash.ini"));
    EXPECT_EQ(iniPath("splash", "splash.ini"), std::nullopt);
    EXPECT_EQ(iniPath("/" + std::string(250, 'a') + "/splash", "splash.ini"), std::nullopt);
}

TEST(SplashLogic, IniValuesIgnoreCaseAndAreCut)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("splash.ini");
    std::ofstream(path) << "[other]\npicture=wrong.bmp\n\n[Splash]\r\n ; a comment\r\n"
                           "Picture = /images/start.bmp \r\nlogo=\"" << std::string(300, 'l') << "\"\n";
    EXPECT_EQ(readIniValue(path, "splash", "picture"), "/images/start.bmp");
    EXPECT_EQ(readIniValue(path, "splash", "logo"), std::string(259, 'l'));
    EXPECT_EQ(readIniValue(path, "splash", "missing"), "");
    EXPECT_EQ(readIniValue(dir.file("none.ini"), "splash", "picture"), "");
}
