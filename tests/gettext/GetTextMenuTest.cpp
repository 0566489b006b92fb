#include "gettext/GetTextMenu.h"
#include "platform/WindowStyles.h"
#include "platformqt/Menu.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

using testsupport::LogCapture;

std::vector<WORD> wordsOf(const GetTextMenu& menu)
{
    std::vector<WORD> words;
    for (int at = 0; at + 1 < menu.size(); at += 2)
        words.push_back(static_cast<WORD>(menu.data()[at] | (menu.data()[at + 1] << 8)));
    return words;
}

TEST(GetTextMenu, PopupWithTwoItemsAndASeparator)
{
    GetTextMenu menu;
    menu.addItem(L"F", 0, true);
    menu.addItem(L"A", 101, false);
    menu.addItem(L"B", 102, false);
    menu.addSeparator();
    menu.endPopup();
    auto bar = menu.createMenu();
    std::vector<WORD> expected = {
        0, 0,                    // header
        MF_POPUP | MF_END, 'F', 0, // the last top-level entry
        0, 101, 'A', 0,
        0, 102, 'B', 0,
        MF_END, 0, 0,            // the separator ends the popup
    };
    EXPECT_EQ(wordsOf(menu), expected);
    ASSERT_TRUE(bar);
    QMenu* popup = bar->actions()[0]->menu();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->actions().size(), 3);
    EXPECT_EQ(platform::menuCommandId(popup->actions()[1]), 102);
    EXPECT_TRUE(popup->actions()[2]->isSeparator());
}

TEST(GetTextMenu, NestedPopupsBecomeNestedMenus)
{
    LogCapture log;
    GetTextMenu menu;
    menu.addItem(L"&Datei", 0, true);
    menu.addItem(L"Öffnen", 1, false);
    menu.addItem(L"Zuletzt", 0, true);
    menu.addItem(L"eins", 2, false);
    menu.addItem(L"zwei 😀", 3, false); // outside the 16-bit range: two UTF-16 units
    menu.endPopup();
    menu.addItem(L"Beenden", 4, false);
    menu.endPopup();
    menu.addItem(L"&Hilfe", 0, true);
    menu.addItem(L"Info", 5, false);
    menu.endPopup();
    auto bar = menu.createMenu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos);
    ASSERT_EQ(bar->actions().size(), 2);
    QMenu* file = bar->actions()[0]->menu();
    ASSERT_EQ(file->actions().size(), 3);
    EXPECT_EQ(file->actions()[0]->text(), "Öffnen");
    QMenu* recent = file->actions()[1]->menu();
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->actions()[1]->text(), QString::fromUtf8("zwei 😀"));
    EXPECT_EQ(platform::menuCommandId(file->actions()[2]), 4);
    EXPECT_EQ(platform::findMenuCommand(bar.get(), 5)->text(), "Info");
}

TEST(GetTextMenu, LongItemDoublesTheBufferUntilItFits)
{
    GetTextMenu menu;
    EXPECT_EQ(menu.capacity(), 2048);
    menu.addItem(std::wstring(3000, L'x'), 7, false);
    EXPECT_EQ(menu.capacity(), 8192);
    EXPECT_EQ(menu.size(), 4 + 4 + 6002);
    auto bar = menu.createMenu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->actions()[0]->text().size(), 3000);
    // Beyond what was written the buffer is zero.
    for (int at = menu.size(); at < menu.capacity(); ++at)
        ASSERT_EQ(menu.data()[at], 0) << at;
}

TEST(GetTextMenu, UnbalancedEndPopupIsRefused)
{
    LogCapture log;
    GetTextMenu menu;
    menu.addItem(L"A", 1, false);
    std::vector<WORD> before = wordsOf(menu);
    menu.endPopup(); // there is no popup to close
    EXPECT_TRUE(log.hasAssertion("currentItemLevel>=0"));
    EXPECT_EQ(menu.level(), 0);
    EXPECT_EQ(wordsOf(menu), before);
    menu.addItem(L"B", 2, false);
    auto bar = menu.createMenu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->actions().size(), 2);
}

TEST(GetTextMenu, SeventeenthLevelIsRefused)
{
    LogCapture log;
    GetTextMenu menu;
    for (int level = 1; level < GetTextMenu::MAX_MENU_LEVEL; ++level)
        menu.addItem(L"P" + std::to_wstring(level), 0, true);
    EXPECT_EQ(menu.level(), 15);
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos);
    int size = menu.size();
    menu.addItem(L"too deep", 0, true);
    EXPECT_TRUE(log.hasAssertion("currentItemLevel<MAX_MENU_LEVEL"));
    EXPECT_EQ(menu.level(), 15);
    EXPECT_EQ(menu.size(), size);
    menu.addItem(L"leaf", 9, false);
    for (int level = 1; level < GetTextMenu::MAX_MENU_LEVEL; ++level)
        menu.endPopup();
    auto bar = menu.createMenu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(platform::findMenuCommand(bar.get(), 9)->text(), "leaf");
}

TEST(GetTextMenu, OpenPopupsAreClosedBeforeLoading)
{
    LogCapture log;
    GetTextMenu menu;
    menu.addItem(L"File", 0, true);
    menu.addItem(L"Open", 1, false);
    auto bar = menu.createMenu();
    EXPECT_TRUE(log.hasAssertion("currentItemLevel==0"));
    ASSERT_TRUE(bar);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->menu()->actions()[0]->text(), "Open");
}

TEST(GetTextMenu, EmptyPopupStaysReadable)
{
    LogCapture log;
    GetTextMenu menu;
    menu.addItem(L"Empty", 0, true);
    menu.endPopup();
    menu.addItem(L"After", 3, false);
    auto bar = menu.createMenu();
    EXPECT_TRUE(log.hasAssertion("itemOffset[currentItemLevel]>=0"));
    ASSERT_TRUE(bar);
    ASSERT_EQ(bar->actions().size(), 2);
    EXPECT_EQ(platform::menuCommandId(bar->actions()[1]), 3);

    LogCapture none;
    GetTextMenu nothing;
    EXPECT_FALSE(nothing.createMenu());
    EXPECT_TRUE(none.hasAssertion("hMenu!=0"));
}

} // namespace
