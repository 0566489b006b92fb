// Where the help window goes: beside the window it was asked from where
// there is room, and always wholly inside the area windows may use.
#include "session/HelpPlacement.h"

#include <gtest/gtest.h>

#include <ostream>

namespace helpplacement {
void PrintTo(const Rect& r, std::ostream* out) { *out << r.width << 'x' << r.height << '+' << r.x << '+' << r.y; }
} // namespace helpplacement

namespace {

using helpplacement::Rect;

TEST(HelpPlacement, BesideTheOwnerAndInsideTheArea)
{
    struct Case {
        const char* what;
        Rect owner;
        int width, height;
        Rect area;
        Rect expected;
    };
    const Rect screen{ 0, 0, 1280, 994 }; // 1280 x 1024 less a 30-pixel panel
    const Case cases[] = {
        { "dialog low on the left: beside it, lifted onto the screen", { 100, 343, 400, 500 }, 640, 720, screen,
          { 500, 274, 640, 720 } },
        { "dialog on the right: on its left", { 700, 100, 500, 400 }, 640, 720, screen, { 60, 100, 640, 720 } },
        { "room for a narrower help only: narrowed beside it", { 50, 0, 700, 600 }, 640, 720, screen,
          { 750, 0, 530, 720 } },
        { "no readable room on either side: against the right edge", { 300, 200, 680, 400 }, 640, 720, screen,
          { 640, 200, 640, 720 } },
        { "main window filling the screen: at its right", screen, 640, 720, screen, { 640, 0, 640, 720 } },
        { "small screen: shrunk to its height", { 100, 343, 300, 200 }, 640, 720, { 0, 0, 800, 600 },
          { 400, 0, 400, 600 } },
        { "second screen below a top panel", { 1300, 100, 300, 300 }, 640, 720, { 1280, 30, 1024, 738 },
          { 1600, 48, 640, 720 } },
        { "dialog partly off the screen's left edge", { -200, 100, 500, 400 }, 640, 720, screen,
          { 300, 100, 640, 720 } },
        { "dialog low on the right, narrower room on its left: narrowed there", { 600, 900, 300, 300 }, 640, 720,
          screen, { 0, 274, 600, 720 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Rect help = helpplacement::place(c.owner, c.width, c.height, c.area);
        EXPECT_EQ(help, c.expected);
        EXPECT_GE(help.x, c.area.x);
        EXPECT_GE(help.y, c.area.y);
        EXPECT_LE(help.right(), c.area.right());
        EXPECT_LE(help.bottom(), c.area.bottom());
    }
}

} // namespace
