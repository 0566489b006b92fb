#include "platform/WindowStyles.h"
#include "platformqt/Menu.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

std::vector<unsigned char> bytesOf(std::initializer_list<WORD> words)
{
    std::vector<unsigned char> bytes;
    for (WORD w : words) {
        bytes.push_back(static_cast<unsigned char>(w & 0xFF));
        bytes.push_back(static_cast<unsigned char>(w >> 8));
    }
    return bytes;
}

TEST(MenuLoader, PopupsCommandsAndSeparatorsBecomeMenusAndActions)
{
    auto bytes = bytesOf({ 0, 0,
                           MF_POPUP, '&', 'F', 0,
                           0, 101, 'O', 'p', 'e', 'n', '\t', 'C', 't', 'r', 'l', '+', 'O', 0,
                           0, 0, 0,
                           MF_POPUP | MF_END, 'R', 'e', 'c', 0,
                           MF_GRAYED, 102, 'A', 0,
                           MF_CHECKED | MF_END, 103, 'B', 0,
                           MF_END, 104, 'H', 0 });
    auto bar = platform::loadMenuIndirect(bytes.data(), bytes.size());
    ASSERT_TRUE(bar);
    auto top = bar->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), "&F");
    EXPECT_EQ(platform::menuCommandId(top[0]), 0);
    EXPECT_EQ(platform::menuCommandId(top[1]), 104);
    QMenu* file = top[0]->menu();
    ASSERT_NE(file, nullptr);
    auto inFile = file->actions();
    ASSERT_EQ(inFile.size(), 3);
    EXPECT_EQ(inFile[0]->text(), "Open\tCtrl+O");
    EXPECT_EQ(platform::menuCommandId(inFile[0]), 101);
    EXPECT_TRUE(inFile[1]->isSeparator());
    QMenu* recent = inFile[2]->menu();
    ASSERT_NE(recent, nullptr);
    QAction* a = platform::findMenuCommand(bar.get(), 102);
    QAction* b = platform::findMenuCommand(bar.get(), 103);
    ASSERT_TRUE(a && b);
    EXPECT_FALSE(a->isEnabled());
    EXPECT_TRUE(b->isChecked());
    EXPECT_EQ(platform::findMenuCommand(bar.get(), 999), nullptr);

    // A triggered action tells its command id through the bar.
    int received = 0;
    QObject::connect(bar.get(), &QMenuBar::triggered,
                     [&](QAction* action) { received = platform::menuCommandId(action); });
    inFile[0]->trigger();
    EXPECT_EQ(received, 101);
}

TEST(MenuLoader, RefusesBytesThatAreNoMenu)
{
    auto open = bytesOf({ 0, 0, MF_POPUP, 'F', 0, 0, 1, 'O', 0 });
    EXPECT_EQ(platform::loadMenuIndirect(open.data(), open.size()), nullptr);
    EXPECT_EQ(platform::loadMenuIndirect(nullptr, 0), nullptr);
}

} // namespace
