// The flat header: the limits of item widths, hit zones, drop positions, sort
// arrows, and what a mouse on its dividers does.
#include "ui/FlatHeaderCtrl.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <vector>

namespace {

HeaderItem item(int width, const QString& text = QString(), int format = HDF_LEFT | HDF_STRING)
{
    HeaderItem i;
    i.width = width;
    i.text = text;
    i.format = format;
    return i;
}

int tenPerChar(const QString& text) { return int(text.size()) * 10; }

struct Recorder : FlatHeaderListener {
    std::vector<std::pair<int, int>> changes;
    std::vector<int> doubleClicks;
    void headerItemChanged(int item, int mask) override { changes.emplace_back(item, mask); }
    void headerDividerDoubleClicked(int item) override { doubleClicks.push_back(item); }
};

void mouse(QWidget* w, QEvent::Type type, int x, Qt::MouseButtons buttons)
{
    QPointF p(x, 5);
    Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, p, w->mapToGlobal(p), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

TEST(FlatHeaderModel, ItemLimitsApplyUnlessFixedOrUnbounded)
{
    struct Case {
        int width, flags, minWidth, maxWidth;
        int expected;
    } cases[] = {
        {120, 0, 150, -1, 120},                     // no maximum: the width stays
        {200, 0, 50, 100, 100},                     // lowered to the maximum
        {20, 0, 50, 100, 50},                       // raised to the minimum
        {200, HeaderItemEx::FixedWidth, 50, 100, 200},
        {200, HeaderItemEx::FitContent, 0, 500, 6 + 40 + 6},         // "Rate": margin, text, margin
        {200, HeaderItemEx::FitContent | HeaderItemEx::RoomForArrow, 0, 500, 6 + 8 + 6 + 40 + 6},
        {200, HeaderItemEx::FitContent, 60, 500, 60},
    };
    for (const Case& c : cases) {
        FlatHeaderModel m;
        m.insertItem(0, item(c.width, "Rate"));
        HeaderItemEx extra;
        extra.flags = c.flags;
        extra.minWidth = c.minWidth;
        extra.maxWidth = c.maxWidth;
        ASSERT_TRUE(m.setItemEx(0, extra, tenPerChar));
        EXPECT_EQ(m.item(0)->width, c.expected) << "flags " << c.flags << " min " << c.minWidth;
    }
    FlatHeaderModel m;
    EXPECT_FALSE(m.setItemEx(0, HeaderItemEx{}, tenPerChar));
}

TEST(FlatHeaderModel, ExtrasFollowInsertedAndDeletedItems)
{
    FlatHeaderModel m;
    m.insertItem(0, item(10));
    m.insertItem(1, item(20));
    HeaderItemEx fixed;
    fixed.flags = HeaderItemEx::FixedWidth;
    fixed.tip = "second";
    m.setItemEx(1, fixed, tenPerChar);
    m.insertItem(0, item(30)); // before both
    EXPECT_EQ(m.extra(2)->tip, "second");
    EXPECT_EQ(m.order(), (std::vector<int>{1, 2, 0}));
    m.deleteItem(1);
    EXPECT_EQ(m.extra(1)->tip, "second");
    EXPECT_EQ(m.order(), (std::vector<int>{1, 0}));
}

TEST(FlatHeaderModel, HitZonesAndDropPositions)
{
    FlatHeaderModel m;
    m.insertItem(0, item(100));
    m.insertItem(1, item(50));
    m.insertItem(2, item(80), 0); // shown first: 0..80, then 80..180, 180..230
    struct Case {
        int x, flags, item, drop;
    } cases[] = {
        {10, HeaderHit::OnItem, 2, 0},      {50, HeaderHit::OnItem, 2, 1},
        {78, HeaderHit::OnDivider, 2, 1},   {82, HeaderHit::OnDivider, 2, 1},
        {120, HeaderHit::OnItem, 0, 1},     {200, HeaderHit::OnItem, 1, 2},
        {220, HeaderHit::OnItem, 1, 3},     {232, HeaderHit::OnDivider, 1, 3},
        {300, HeaderHit::Nowhere, -1, -1},  {-5, HeaderHit::Nowhere, -1, -1},
    };
    for (const Case& c : cases) {
        HeaderHit hit = m.hitTest(c.x);
        EXPECT_EQ(hit.flags, c.flags) << c.x;
        EXPECT_EQ(hit.item, c.item) << c.x;
        EXPECT_EQ(m.dropPosition(c.x), c.drop) << c.x;
    }
}

TEST(FlatHeaderModel, SortArrowVertices)
{
    RECT r{0, 0, 100, 20}; // y = (20 - 8 - 1) / 2 = 5
    SortArrow up = sortArrow(r, 92, 8, 8, true);
    ASSERT_TRUE(up.drawn);
    EXPECT_EQ(up.highlight[0].x, 92 + 3 + 1);
    EXPECT_EQ(up.highlight[0].y, 5);
    EXPECT_EQ(up.highlight[2].y, 12);
    SortArrow down = sortArrow(r, 92, 8, 8, false);
    EXPECT_EQ(down.shadow.back().x, 100);
    EXPECT_EQ(down.shadow.back().y, 5);
    EXPECT_FALSE(sortArrow(RECT{0, 0, 7, 20}, 0, 8, 8, true).drawn);
}

TEST(FlatHeaderCtrl, DividerDragStaysWithinTheLimitsAndFixedDividersIgnoreTheMouse)
{
    CFlatHeaderCtrl header;
    Recorder recorder;
    header.setListener(&recorder);
    header.resize(400, 24);
    header.insertItem(0, item(80, "Limited"));
    header.insertItem(1, item(80, "Fixed"));
    HeaderItemEx limited;
    limited.minWidth = 50;
    limited.maxWidth = 100;
    header.setItemEx(0, limited);
    HeaderItemEx fixed;
    fixed.flags = HeaderItemEx::FixedWidth;
    header.setItemEx(1, fixed);
    recorder.changes.clear();

    mouse(&header, QEvent::MouseButtonPress, 80, Qt::LeftButton);
    mouse(&header, QEvent::MouseMove, 300, Qt::LeftButton);
    EXPECT_EQ(header.model().item(0)->width, 100);
    mouse(&header, QEvent::MouseMove, 10, Qt::LeftButton);
    EXPECT_EQ(header.model().item(0)->width, 50);
    mouse(&header, QEvent::MouseButtonRelease, 10, Qt::NoButton);
    ASSERT_FALSE(recorder.changes.empty());
    EXPECT_EQ(recorder.changes.back(), std::make_pair(0, HDI_WIDTH));

    recorder.changes.clear();
    mouse(&header, QEvent::MouseButtonPress, 130, Qt::LeftButton); // the fixed item's divider (50 + 80)
    mouse(&header, QEvent::MouseMove, 200, Qt::LeftButton);
    mouse(&header, QEvent::MouseButtonRelease, 200, Qt::NoButton);
    mouse(&header, QEvent::MouseButtonDblClick, 130, Qt::LeftButton);
    EXPECT_EQ(header.model().item(1)->width, 80);
    EXPECT_TRUE(recorder.changes.empty());
    EXPECT_TRUE(recorder.doubleClicks.empty());
    mouse(&header, QEvent::MouseMove, 130, Qt::NoButton);
    EXPECT_EQ(header.cursor().shape(), Qt::ArrowCursor);
    mouse(&header, QEvent::MouseMove, 50, Qt::NoButton);
    EXPECT_EQ(header.cursor().shape(), Qt::SplitHCursor);
    mouse(&header, QEvent::MouseButtonDblClick, 50, Qt::LeftButton);
    EXPECT_EQ(recorder.doubleClicks, std::vector<int>{0});
}

TEST(FlatHeaderCtrl, DropMarkerComesAndGoesWithValidPositions)
{
    CFlatHeaderCtrl header;
    header.resize(300, 24);
    header.insertItem(0, item(100));
    header.insertItem(1, item(100));
    EXPECT_EQ(header.setHotDivider(header.mapToGlobal(QPoint(180, 10))), 2);
    ASSERT_NE(header.dropMarker(), nullptr);
    EXPECT_EQ(header.dropMarker()->height(), 44);
    EXPECT_EQ(header.dropMarker()->x(), header.mapToGlobal(QPoint(200, 0)).x() - 6);
    EXPECT_EQ(header.setHotDivider(3), 3);
    EXPECT_EQ(header.dropMarker(), nullptr);
}
