// The flat tab strip: how tabs share the width, how texts are shortened, and
// the control's selection by mouse and keys with the parent's veto.
#include "ui/FlatTabCtrl.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

std::vector<FlatTabPlace> places(std::initializer_list<int> widths)
{
    std::vector<FlatTabPlace> result;
    for (int w : widths)
        result.push_back({ 0, w });
    return result;
}

int totalOf(const std::vector<FlatTabPlace>& tabs)
{
    int total = 1;
    for (const auto& t : tabs)
        total += t.width;
    return total;
}

TEST(FlatTabLayout, SharesTheStrip)
{
    // Room to spare: the narrow tabs grow towards the widest in steps of 8.
    auto spare = places({ 50, 80, 50 });
    layoutFlatTabs(spare, totalOf(spare), 400);
    EXPECT_EQ(spare[0].width, 80);
    EXPECT_EQ(spare[1].width, 80);
    EXPECT_EQ(spare[2].width, 80);
    EXPECT_EQ(spare[1].left, 81);
    EXPECT_EQ(spare[2].left, 161);

    // Little slack: growth stops once the slack (200 - 181 - 10 = 9) is used.
    auto tight = places({ 50, 80, 50 });
    layoutFlatTabs(tight, totalOf(tight), 200);
    EXPECT_EQ(tight[0].width, 58);
    EXPECT_EQ(tight[1].width, 80);
    EXPECT_EQ(tight[2].width, 58);

    // Too wide with at most 32 pixels a tab: equal tabs, the last takes the rest.
    auto narrow = places({ 40, 40, 40, 40, 40, 40, 40, 40, 40, 40 });
    layoutFlatTabs(narrow, totalOf(narrow), 300);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(narrow[i].width, 30);
        EXPECT_EQ(narrow[i].left, 1 + 30 * i);
    }
    EXPECT_EQ(narrow[9].left, 271);
    EXPECT_EQ(narrow[9].width, 29);

    // Too wide otherwise: the widest (the first of equals) loses 8 at a time.
    auto shave = places({ 100, 60, 100 });
    layoutFlatTabs(shave, totalOf(shave), 250);
    EXPECT_EQ(shave[0].width + shave[1].width + shave[2].width, 260 - 16);
    EXPECT_EQ(shave[0].width, 92);
    EXPECT_EQ(shave[2].width, 92);
    EXPECT_EQ(shave[1].width, 60);
}

TEST(FlatTabLayout, NaturalWidth)
{
    EXPECT_EQ(flatTabNaturalWidth(40, false), 50);
    EXPECT_EQ(flatTabNaturalWidth(40, true), 69);
    EXPECT_EQ(flatTabNaturalWidth(0, false), 11);
}

TEST(FlatTabLayout, ShortensTextsThatDoNotFit)
{
    auto tenEach = [](const QString& s) { return 10 * static_cast<int>(s.size()); };
    struct Case {
        const char* text;
        int room;
        const char* shown;
    } cases[] = {
        { "General", 70, "General" },   // fits
        { "General", 90, "General" },
        { "General", 60, "Gen..." },    // one less is still too wide with the dots
        { "General", 50, "Ge..." },
        { "General", 30, "G.." },       // one character left: cut from the end
        { "General", 9, "" },
        { "Ab", 15, "A" },
        { "A", 5, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(shortenTabText(QString::fromLatin1(c.text), c.room, tenEach), QString::fromLatin1(c.shown))
            << c.text << " in " << c.room;
}

// A parent that records notifications and can refuse a change.
class Parent : public QWidget, public FlatTabListener {
public:
    int onTabNotify(FlatTabCtrl* control, int code, int key, int) override
    {
        codes.push_back(code);
        if (code == FlatTabCtrl::TCN_SELCHANGING)
            seenWhileChanging = control->getCurSel();
        if (code == FlatTabCtrl::TCN_KEYDOWN)
            keys.push_back(key);
        return code == FlatTabCtrl::TCN_SELCHANGING && refuse ? 1 : 0;
    }
    std::vector<int> codes;
    std::vector<int> keys;
    int seenWhileChanging = -2;
    bool refuse = false;
};

struct Strip {
    Parent parent;
    FlatTabCtrl tabs;
    QWidget* after = nullptr;
    Strip()
    {
        parent.resize(400, 200);
        tabs.create(0, RECT { 0, 0, 300, 100 }, &parent, 25501);
        for (const char* text : { "One", "Two", "Three" })
            tabs.addTab(QString::fromLatin1(text));
        parent.show();
        parent.activateWindow();
        (void)QTest::qWaitForWindowActive(&parent);
    }
};

TEST(FlatTabCtrl, SelectionWithTheParentsVeto)
{
    Strip s;
    EXPECT_EQ(s.tabs.getStyle(), FlatTabCtrl::TABS_TOP);
    EXPECT_EQ(s.tabs.tabHeight(), 22);
    EXPECT_EQ(s.tabs.getCurSel(), -1);
    EXPECT_FALSE(s.tabs.select(-1));
    EXPECT_FALSE(s.tabs.select(3));
    EXPECT_TRUE(s.parent.codes.empty());

    EXPECT_TRUE(s.tabs.select(1));
    EXPECT_EQ(s.parent.seenWhileChanging, 1); // the new tab, while the parent decides
    EXPECT_EQ(s.parent.codes, (std::vector<int> { FlatTabCtrl::TCN_SELCHANGING, FlatTabCtrl::TCN_SELCHANGE }));
    s.parent.codes.clear();
    EXPECT_TRUE(s.tabs.select(1));
    EXPECT_TRUE(s.parent.codes.empty());

    s.parent.refuse = true;
    EXPECT_FALSE(s.tabs.select(2));
    EXPECT_EQ(s.tabs.getCurSel(), 1);
    EXPECT_EQ(s.parent.codes, (std::vector<int> { FlatTabCtrl::TCN_SELCHANGING }));

    // A click on a refused tab changes nothing and sends no click.
    s.parent.codes.clear();
    RECT third = s.tabs.getTab(2)->getRect();
    QTest::mouseClick(&s.tabs, Qt::LeftButton, {}, QPoint(third.left + 5, third.top + 5));
    EXPECT_EQ(s.tabs.getCurSel(), 1);
    EXPECT_EQ(s.parent.codes, (std::vector<int> { FlatTabCtrl::TCN_SELCHANGING }));

    s.parent.refuse = false;
    s.parent.codes.clear();
    QTest::mouseClick(&s.tabs, Qt::LeftButton, {}, QPoint(third.left + 5, third.top + 5));
    EXPECT_EQ(s.tabs.getCurSel(), 2);
    EXPECT_EQ(s.parent.codes.back(), FlatTabCtrl::NM_CLICK);
    EXPECT_TRUE(s.tabs.hasFocus());
    EXPECT_EQ(s.tabs.hitTest(third.left, third.bottom), -1); // below the strip

    EXPECT_TRUE(s.tabs.removeTab(0));
    EXPECT_FALSE(s.tabs.removeTab(5));
    EXPECT_EQ(s.tabs.getCount(), 2);
    EXPECT_EQ(s.tabs.getTabData(7), 0u);
}

TEST(FlatTabCtrl, Keys)
{
    Strip s;
    s.tabs.setFocus();
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int from, to, virtualKey;
    } cases[] = {
        { Qt::Key_Left, {}, -1, 2, 0x25 },  // no selection: the last
        { Qt::Key_Left, {}, 0, 2, 0x25 },   // from the first to the last
        { Qt::Key_Left, {}, 2, 1, 0x25 },
        { Qt::Key_Right, {}, 2, 0, 0x27 },  // from the last to the first
        { Qt::Key_Right, {}, -1, 0, 0x27 },
        { Qt::Key_Tab, Qt::ControlModifier, 1, 2, 0x09 },
        { Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 1, 0, 0x09 },
        { Qt::Key_End, {}, 0, 2, 0x23 },
        { Qt::Key_Home, {}, 2, 0, 0x24 },
    };
    for (const auto& c : cases) {
        FlatTabCtrl tabs;
        tabs.create(0, RECT { 0, 0, 300, 100 }, &s.parent, 1);
        for (const char* text : { "One", "Two", "Three" })
            tabs.addTab(QString::fromLatin1(text));
        if (c.from >= 0)
            tabs.select(c.from);
        s.parent.keys.clear();
        QTest::keyClick(&tabs, Qt::Key(c.key), c.modifiers);
        EXPECT_EQ(tabs.getCurSel(), c.to) << c.key << " from " << c.from;
        EXPECT_EQ(s.parent.keys, std::vector<int> { c.virtualKey }) << c.key;
    }

    // Tab moves the focus on through the parent's tab stops, Shift+Tab back.
    auto* before = new QWidget(&s.parent);
    auto* after = new QWidget(&s.parent);
    before->setFocusPolicy(Qt::StrongFocus);
    after->setFocusPolicy(Qt::StrongFocus);
    before->show();
    after->show();
    s.tabs.setFocus();
    QTest::keyClick(&s.tabs, Qt::Key_Tab);
    EXPECT_TRUE(before->hasFocus());
    s.tabs.setFocus();
    QTest::keyClick(&s.tabs, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(after->hasFocus()); // backwards, wrapping round
}

TEST(FlatTabCtrl, WithoutTabsOrParent)
{
    FlatTabCtrl alone;
    alone.resize(100, 40);
    EXPECT_EQ(alone.getTabSize(0).cx, 0);
    QTest::keyClick(&alone, Qt::Key_Right);
    EXPECT_EQ(alone.getCurSel(), -1);
    alone.addTab(QStringLiteral("x"), 42);
    // No parent to ask: the change goes through.
    EXPECT_TRUE(alone.select(0));
    EXPECT_EQ(alone.getTabData(0), 42u);
    RECT display = alone.displayRect();
    EXPECT_EQ(display.top, 2 + 22);
    EXPECT_EQ(display.bottom, 38);
}

} // namespace
