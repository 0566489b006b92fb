// The layout tree as geometry: boxes, framed items, handles, control groups,
// spacers and the placement functions, on a window layer of plain rectangles.
#include "FakeWindows.h"
#include "support/TestSupport.h"
#include "ui/ControlGroup.h"
#include "ui/LayoutItem.h"
#include "ui/Placement.h"
#include "ui/RectangleGroup.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

RECT R(LONG l = 0, LONG t = 0, LONG r = 0, LONG b = 0) { return ui::makeRect(l, t, r, b); }

#define EXPECT_RECT(expected, actual) EXPECT_EQ(str(expected), str(actual))

// What a leaf saw; shared by the leaf and every clone of it.
struct Record {
    std::optional<RECT> arranged;
    std::optional<RECT> initialised;
    bool visible = true;
    int syncs = 0;
};

class RecordingItem : public LayoutItem {
public:
    RecordingItem(RECT r, std::shared_ptr<Record> record) : record(std::move(record)) { rect = r; }
    LayoutItem* clone() const override { return new RecordingItem(*this); }
    void arrange(const RECT r) override { record->arranged = r; }
    void init(const RECT r) override
    {
        LayoutItem::init(r);
        record->initialised = r;
    }
    void show(bool v) override { record->visible = v; }
    bool isVisible() const override { return record->visible; }
    void syncVisibility() override { ++record->syncs; }
    void notifyPlacement() override {}

    std::shared_ptr<Record> record;
};

struct Leaf {
    explicit Leaf(RECT r) : record(std::make_shared<Record>()), item(RecordingItem(r, record)) {}
    std::shared_ptr<Record> record;
    LayoutItemHandle item;
};

struct BoxCase {
    const char* name;
    bool horizontal;
    std::vector<std::optional<RECT>> children; // nullopt: a null handle
    std::vector<int> weights;
    std::vector<double> stretch;
    RECT target;
    std::vector<RECT> expected; // one per child; ignored for null handles
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class BoxDistribution : public testing::TestWithParam<BoxCase> {};

TEST_P(BoxDistribution, PlacesEveryChild)
{
    const BoxCase& c = GetParam();
    VerticalBox vbox;
    HorizontalBox hbox;
    std::vector<std::shared_ptr<Record>> records;
    for (std::size_t i = 0; i < c.children.size(); ++i) {
        LayoutItemHandle item;
        std::shared_ptr<Record> record;
        if (c.children[i]) {
            Leaf leaf(*c.children[i]);
            item = leaf.item;
            record = leaf.record;
        }
        records.push_back(record);
        const double cap = c.stretch.empty() ? 0.0 : c.stretch[i];
        if (c.horizontal)
            hbox.add(c.weights[i], item, cap);
        else
            vbox.add(c.weights[i], item, cap);
    }
    LayoutItemHandle root = c.horizontal ? LayoutItemHandle(hbox) : LayoutItemHandle(vbox);
    root->init(root->getRect());
    root->arrange(c.target);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i])
            continue;
        ASSERT_TRUE(records[i]->arranged.has_value()) << "child " << i;
        EXPECT_RECT(c.expected[i], *records[i]->arranged) << "child " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BoxDistribution,
    testing::Values(
        // 10 extra pixels over weights 1, 1, 1: 3 each, the last ends a pixel short.
        BoxCase{"ThreeEqualWeights", false, {R(0, 0, 100, 10), R(0, 10, 100, 20), R(0, 20, 100, 30)}, {1, 1, 1}, {},
                R(0, 0, 100, 40), {R(0, 0, 100, 13), R(0, 13, 100, 26), R(0, 26, 100, 39)}},
        BoxCase{"WeightsOneAndThree", false, {R(0, 0, 50, 20), R(0, 20, 50, 40)}, {1, 3}, {}, R(0, 0, 50, 140),
                {R(0, 0, 50, 45), R(0, 45, 50, 140)}},
        // Total weight 0: children only follow the box's edges.
        BoxCase{"AllWeightsZero", false, {R(0, 0, 100, 10), R(0, 20, 100, 40)}, {0, 0}, {}, R(10, 20, 130, 200),
                {R(10, 20, 130, 30), R(10, 40, 130, 60)}},
        // Smaller than the initial geometry: negative shares, nothing clamped.
        BoxCase{"SmallerGivesNegativeShares", false, {R(0, 0, 100, 50), R(0, 50, 100, 100)}, {1, 1}, {},
                R(0, 0, 80, 60), {R(0, 0, 80, 30), R(0, 30, 80, 60)}},
        BoxCase{"FarSmallerTurnsInsideOut", false, {R(0, 0, 100, 10), R(0, 10, 100, 20)}, {1, 0}, {},
                R(0, 0, 100, 0), {R(0, 0, 100, -10), R(0, -10, 100, 0)}},
        // A null handle counts with its weight and still pushes later children.
        BoxCase{"NullHandleKeepsItsShare", false, {R(0, 0, 10, 10), std::nullopt, R(0, 10, 10, 20)}, {1, 1, 0}, {},
                R(0, 0, 10, 40), {R(0, 0, 10, 20), R(), R(0, 30, 10, 40)}},
        // Stretch 2.0 on a child 100 high with a share of 150: the share becomes 100.
        BoxCase{"StretchCap", false, {R(0, 0, 10, 100), R(0, 100, 10, 110)}, {1, 0}, {2.0, 0.0}, R(0, 0, 10, 260),
                {R(0, 0, 10, 200), R(0, 200, 10, 210)}},
        BoxCase{"StretchCapNotReached", false, {R(0, 0, 10, 100)}, {1}, {2.0}, R(0, 0, 10, 150), {R(0, 0, 10, 150)}},
        // A zero-sized spacer of weight 1 before a weight-0 group pushes it right.
        BoxCase{"HorizontalSpacerPushesGroup", true, {R(0, 0, 0, 0), R(200, 10, 300, 40)}, {1, 0}, {},
                R(200, 10, 400, 40), {R(0, 0, 100, 0), R(300, 10, 400, 40)}},
        BoxCase{"HorizontalFollowsTopAndBottom", true, {R(0, 0, 20, 30), R(30, 0, 50, 30)}, {1, 1}, {},
                R(5, 10, 65, 60), {R(5, 10, 30, 60), R(40, 10, 65, 60)}}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(LayoutBox, AddGrowsRectByNonEmptyChildrenAndSumsWeights)
{
    VerticalBox box;
    EXPECT_EQ(1, box.add(1, Leaf(R(10, 10, 50, 30)).item, 0.0));
    EXPECT_EQ(1, box.add(0, makeSpacer(0, 0), 0.0));
    EXPECT_EQ(4, box.add(3, LayoutItemHandle(), 0.0));
    EXPECT_EQ(5, box.add(1, Leaf(R(5, 40, 20, 60)).item, 0.0));
    EXPECT_RECT(R(5, 10, 50, 60), box.getRect());
    EXPECT_RECT(R(), box.initialRects[2]);
    EXPECT_EQ(4u, box.children.size());
}

TEST(LayoutBox, InitMeasuresEachChildAgainstItsBand)
{
    Leaf a(R(10, 10, 90, 30)), b(R(10, 40, 90, 60));
    VerticalBox vbox;
    vbox.add(1, a.item, 0.0);
    vbox.add(0, LayoutItemHandle(), 0.0);
    vbox.add(1, b.item, 0.0);
    vbox.init(R(0, 0, 100, 100));
    EXPECT_RECT(R(0, 0, 100, 30), *a.record->initialised);
    EXPECT_RECT(R(0, 31, 100, 60), *b.record->initialised);
    EXPECT_EQ(10, vbox.margins.left);
    EXPECT_EQ(10, vbox.margins.top);
    EXPECT_EQ(10, vbox.margins.right);
    EXPECT_EQ(40, vbox.margins.bottom);
    EXPECT_RECT(R(0, 0, 100, 100), vbox.getMinRect());

    HorizontalBox hbox;
    hbox.add(1, a.item, 0.0);
    hbox.add(1, Leaf(R(95, 10, 100, 30)).item, 0.0);
    hbox.init(R(0, 0, 98, 100));
    EXPECT_RECT(R(0, 0, 90, 100), *a.record->initialised);
}

TEST(LayoutBox, SetRectRemovesTheRootMarginsAndRearrangingIsRepeatable)
{
    Leaf a(R(10, 10, 90, 50)), b(R(10, 60, 90, 90));
    VerticalBox box;
    box.add(1, a.item, 0.0);
    box.add(0, b.item, 0.0);
    LayoutItemHandle root(box);
    root->init(R(0, 0, 100, 100));
    root->setRect(R(0, 0, 200, 150));
    EXPECT_RECT(R(10, 10, 190, 100), *a.record->arranged);
    EXPECT_RECT(R(10, 110, 190, 140), *b.record->arranged);
    root->setRect(R(0, 0, 300, 300));
    root->setRect(R(0, 0, 200, 150));
    EXPECT_RECT(R(10, 10, 190, 100), *a.record->arranged);
    // The initial client rectangle puts everything back.
    root->setRect(R(0, 0, 100, 100));
    EXPECT_RECT(R(10, 10, 90, 50), *a.record->arranged);
    EXPECT_RECT(R(10, 60, 90, 90), *b.record->arranged);
}

TEST(LayoutBox, NestedBoxesArrangeDepthFirst)
{
    // A list above a row of a spacer and a button pair, as the dialogs build it.
    Leaf list(R(10, 10, 290, 150)), buttons(R(190, 160, 290, 185));
    HorizontalBox row;
    row.add(1, makeSpacer(0, 0), 0.0);
    row.add(0, buttons.item, 0.0);
    VerticalBox column;
    column.add(1, list.item, 0.0);
    column.add(0, row, 0.0);
    LayoutItemHandle root(column);
    root->init(R(0, 0, 300, 200));
    root->setRect(R(0, 0, 400, 300));
    EXPECT_RECT(R(10, 10, 390, 250), *list.record->arranged);
    EXPECT_RECT(R(290, 260, 390, 285), *buttons.record->arranged);
}

TEST(LayoutBox, VisibilityOperationsReachEveryChild)
{
    Leaf a(R(0, 0, 10, 10)), b(R(0, 10, 10, 20));
    VerticalBox box;
    box.add(1, a.item, 0.0);
    box.add(1, LayoutItemHandle(), 0.0);
    box.add(1, b.item, 0.0);
    box.show(false);
    EXPECT_FALSE(a.record->visible);
    EXPECT_FALSE(box.isVisible());
    b.record->visible = true;
    EXPECT_TRUE(box.isVisible());
    box.syncVisibility();
    EXPECT_EQ(1, a.record->syncs);
    EXPECT_EQ(1, b.record->syncs);
}

TEST(LayoutFramedItem, InnerKeepsItsInsetsToTheFrame)
{
    Leaf outer(R(0, 0, 200, 100)), inner(R(10, 20, 190, 90));
    FramedItem frame;
    frame.setOuter(outer.item);
    frame.setInner(inner.item);
    EXPECT_RECT(R(0, 0, 200, 100), frame.getRect());
    frame.init(R(0, 0, 200, 100));
    EXPECT_EQ(10, frame.insets.left);
    EXPECT_EQ(20, frame.insets.top);
    EXPECT_EQ(10, frame.insets.right);
    EXPECT_EQ(10, frame.insets.bottom);
    EXPECT_EQ(0, frame.margins.left);
    EXPECT_RECT(R(10, 20, 190, 90), *inner.record->initialised);
    frame.arrange(R(5, 5, 305, 205));
    EXPECT_RECT(R(5, 5, 305, 205), *outer.record->arranged);
    EXPECT_RECT(R(15, 25, 295, 195), *inner.record->arranged);
}

TEST(LayoutFramedItem, FrameIsShownExactlyWhenItsContentsAre)
{
    Leaf outer(R(0, 0, 200, 100)), inner(R(10, 20, 190, 90));
    FramedItem frame;
    frame.setOuter(outer.item);
    frame.setInner(inner.item);
    inner.record->visible = false;
    frame.syncVisibility();
    EXPECT_FALSE(outer.record->visible);
    EXPECT_EQ(1, inner.record->syncs);
    inner.record->visible = true;
    frame.syncVisibility();
    EXPECT_TRUE(outer.record->visible);
}

TEST(LayoutHandle, CopiesAreIndependentDeepClones)
{
    Leaf a(R(0, 0, 10, 10));
    VerticalBox box;
    box.add(1, a.item, 0.0);
    LayoutItemHandle first(box);
    LayoutItemHandle second = first;
    ASSERT_NE(first.get(), second.get());
    auto* firstBox = dynamic_cast<VerticalBox*>(first.get());
    auto* secondBox = dynamic_cast<VerticalBox*>(second.get());
    ASSERT_TRUE(firstBox && secondBox);
    EXPECT_NE(firstBox->children[0].get(), secondBox->children[0].get());
    firstBox->add(2, a.item, 0.0);
    EXPECT_EQ(1u, secondBox->children.size());

    LayoutItemHandle empty;
    LayoutItemHandle copyOfEmpty = empty;
    EXPECT_FALSE(copyOfEmpty);
    second = empty;
    EXPECT_FALSE(second);
    // Assigning a handle's own child to it clones before deleting.
    first = firstBox->children[0];
    EXPECT_TRUE(dynamic_cast<RecordingItem*>(first.get()));

    FramedItem frame;
    frame.setInner(a.item);
    LayoutItemHandle framed(frame);
    EXPECT_NE(frame.inner, dynamic_cast<FramedItem&>(*framed).inner);
}

// Leaves on a window layer of rectangles.

class LayoutWindows : public testing::Test {
protected:
    FakeWindows windows;
    WindowHandle dialog = windows.make(nullptr, R(100, 100, 400, 300));
    FakeWindow* dlg = FakeWindows::get(dialog);
};

TEST_F(LayoutWindows, GroupArrangedWithItsOwnRectLeavesControlsInPlace)
{
    WindowHandle a = windows.make(dlg, R(10, 10, 60, 30), 1);
    WindowHandle b = windows.make(dlg, R(70, 10, 120, 30), 2);
    LayoutItemHandle group = makeControlGroup(dialog, 1, 2);
    EXPECT_RECT(R(10, 10, 120, 30), group->getRect());
    group->arrange(group->getRect());
    EXPECT_RECT(R(10, 10, 60, 30), FakeWindows::rectOf(a));
    EXPECT_RECT(R(70, 10, 120, 30), FakeWindows::rectOf(b));
    ASSERT_EQ(2u, windows.invalidated.size());
    EXPECT_EQ(dialog, windows.invalidated[0].window);
    EXPECT_RECT(R(70, 10, 120, 30), windows.invalidated[1].rect);
}

TEST_F(LayoutWindows, GroupScalesControlsAndGaps)
{
    WindowHandle a = windows.make(dlg, R(0, 0, 50, 20), 1);
    WindowHandle b = windows.make(dlg, R(150, 0, 200, 20), 2);
    LayoutItemHandle group = makeControlGroup(dialog, 1, 0, 2);
    group->arrange(R(0, 0, 400, 20));
    EXPECT_RECT(R(0, 0, 100, 20), FakeWindows::rectOf(a));
    EXPECT_RECT(R(300, 0, 400, 20), FakeWindows::rectOf(b));
    // Every product truncates on its own.
    group->arrange(R(0, 0, 133, 20));
    EXPECT_RECT(R(0, 0, 33, 20), FakeWindows::rectOf(a));
    EXPECT_RECT(R(99, 0, 132, 20), FakeWindows::rectOf(b));
}

TEST_F(LayoutWindows, GroupOfOneControlFillsItsRectAndKeepsSizeOnAZeroAxis)
{
    WindowHandle line = windows.make(dlg, R(10, 50, 200, 50), 7);
    LayoutItemHandle group = makeControlGroup(dialog, 7);
    group->arrange(R(10, 60, 300, 60));
    EXPECT_RECT(R(10, 60, 300, 60), FakeWindows::rectOf(line));
}

TEST_F(LayoutWindows, EmptyGroupKeepsItsMarkerAndMovesNothing)
{
    windows.make(dlg, R(0, 0, 50, 20), 1);
    LayoutItemHandle group = makeControlGroup(dialog, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_RECT(R(-1, 0, 0, 0), group->getRect());
    group->init(R(0, 0, 300, 200));
    group->arrange(R(0, 0, 600, 400));
    EXPECT_EQ(0, windows.moves);
}

TEST_F(LayoutWindows, ExtendingCopiesTheGroupAndLeavesItAlone)
{
    windows.make(dlg, R(0, 0, 50, 20), 1);
    windows.make(dlg, R(60, 0, 110, 20), 2);
    windows.make(dlg, R(0, 30, 110, 50), 3);
    LayoutItemHandle group = makeControlGroup(dialog, 1);
    LayoutItemHandle extended = extendControlGroup(group, 2, 3);
    EXPECT_EQ(1u, dynamic_cast<ControlGroup&>(*group).windows.size());
    EXPECT_EQ(3u, dynamic_cast<ControlGroup&>(*extended).windows.size());
    EXPECT_RECT(R(0, 0, 50, 20), group->getRect());
    EXPECT_RECT(R(0, 0, 110, 50), extended->getRect());
}

TEST_F(LayoutWindows, ExtendingSomethingElseIsLoggedAndCopiesIt)
{
    testsupport::LogCapture log;
    LayoutItemHandle spacer = makeSpacer(5, 5);
    LayoutItemHandle result = extendControlGroup(spacer, 1);
    EXPECT_TRUE(dynamic_cast<Spacer*>(result.get()));
    EXPECT_TRUE(log.hasAssertion("source != nullptr"));
}

TEST_F(LayoutWindows, MissingControlIsLoggedAndLeftOut)
{
    testsupport::LogCapture log;
    windows.make(dlg, R(0, 0, 50, 20), 1);
    LayoutItemHandle group = makeControlGroupFromIds(dialog, {1, 99});
    EXPECT_EQ(1u, dynamic_cast<ControlGroup&>(*group).windows.size());
    EXPECT_TRUE(log.hasAssertion("window != nullptr"));
}

TEST_F(LayoutWindows, GroupVisibilityAndExtentFollowTheControls)
{
    WindowHandle a = windows.make(dlg, R(0, 0, 50, 20), 1);
    WindowHandle b = windows.make(dlg, R(60, 0, 110, 20), 2);
    LayoutItemHandle group = makeControlGroupFromHandles(a, nullptr, b);
    group->show(false);
    EXPECT_FALSE(FakeWindows::get(b)->visible);
    EXPECT_FALSE(group->isVisible());
    FakeWindows::get(a)->visible = true;
    EXPECT_TRUE(group->isVisible());
    windows.moveWindow(b, 60, 40, 50, 20, true);
    EXPECT_RECT(R(0, 0, 110, 60), group->getExtent());
}

TEST_F(LayoutWindows, ControlGroupInitRecordsMargins)
{
    windows.make(dlg, R(10, 20, 60, 40), 1);
    LayoutItemHandle group = makeControlGroup(dialog, 1);
    group->init(R(0, 0, 300, 200));
    EXPECT_EQ(10, group->margins.left);
    EXPECT_EQ(20, group->margins.top);
    EXPECT_EQ(240, group->margins.right);
    EXPECT_EQ(160, group->margins.bottom);
    EXPECT_RECT(R(0, 0, 10000, 10000), group->getMaxRect());
}

TEST_F(LayoutWindows, SpacerInitMeasuresItsSizeAgainstTheBand)
{
    LayoutItemHandle spacer = makeSpacer(20, 10);
    EXPECT_RECT(R(0, 0, 20, 10), spacer->getRect());
    spacer->init(R(5, 7, 105, 57));
    EXPECT_EQ(80, spacer->margins.left);
    EXPECT_EQ(40, spacer->margins.top);
    EXPECT_EQ(0, spacer->margins.right);
    EXPECT_RECT(R(5, 7, 25, 17), spacer->getRect());
    EXPECT_FALSE(spacer->isVisible());
}

TEST_F(LayoutWindows, DialogTreeFollowsTheClientRectangle)
{
    // A list that takes the extra space, OK and Cancel at the bottom right.
    WindowHandle list = windows.make(dlg, R(10, 10, 290, 150), 100);
    WindowHandle ok = windows.make(dlg, R(130, 160, 200, 185), 1);
    WindowHandle cancel = windows.make(dlg, R(210, 160, 290, 185), 2);
    HorizontalBox buttons;
    buttons.add(1, makeSpacer(0, 0), 0.0);
    buttons.add(0, makeControlGroup(dialog, 1, 2), 0.0);
    VerticalBox column;
    column.add(1, makeControlGroup(dialog, 100), 0.0);
    column.add(0, buttons, 0.0);
    LayoutItemHandle root(column);
    root->init(R(0, 0, 300, 200));
    root->setRect(R(0, 0, 500, 260));
    EXPECT_RECT(R(10, 10, 490, 210), FakeWindows::rectOf(list));
    EXPECT_RECT(R(330, 220, 400, 245), FakeWindows::rectOf(ok));
    EXPECT_RECT(R(410, 220, 490, 245), FakeWindows::rectOf(cancel));
}

TEST(LayoutAspect, KeepsTheRatioCentred)
{
    Leaf inner(R(0, 0, 200, 100));
    LayoutItemHandle aspect = makeAspectItem(inner.item);
    EXPECT_RECT(R(0, 0, 200, 100), aspect->getRect());
    aspect->arrange(R(0, 0, 300, 300));
    EXPECT_RECT(R(0, 75, 300, 225), *inner.record->arranged);
    aspect->arrange(R(10, 0, 310, 100));
    EXPECT_RECT(R(60, 0, 260, 100), *inner.record->arranged);
    aspect->init(R(0, 0, 50, 50));
    EXPECT_RECT(R(0, 0, 10000, 10000), aspect->getMaxRect());
}

TEST(LayoutPadded, WrapsTheItemInWeightedBoxes)
{
    Leaf inner(R(0, 0, 50, 50));
    LayoutItemHandle padded = makePadded(inner.item, 5, 0, 5, 3);
    auto* column = dynamic_cast<VerticalBox*>(padded.get());
    ASSERT_TRUE(column);
    ASSERT_EQ((std::vector<int>{1, 0}), column->weights);
    auto* row = dynamic_cast<HorizontalBox*>(column->children[0].get());
    ASSERT_TRUE(row);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), row->weights);
    EXPECT_TRUE(dynamic_cast<Spacer*>(row->children[0].get()));
    EXPECT_TRUE(dynamic_cast<RecordingItem*>(row->children[1].get()));
    EXPECT_TRUE(dynamic_cast<RecordingItem*>(makePadded(inner.item, 0, 0, 0, 0).get()));
}

struct PlacementListener : SignalReceiver {
    void onPlaced(RECT r, bool visible) { seen.push_back(str(r) + (visible ? " shown" : " hidden")); }
    std::vector<std::string> seen;
};

TEST(LayoutRectangleGroup, ScalesRectanglesAndTellsTheirListeners)
{
    PlacedRect gauge(R(0, 0, 100, 20));
    PlacedRect label(R(0, 30, 100, 40), false);
    PlacementListener listener;
    gauge.placed->connect(&listener, &PlacementListener::onPlaced);
    // The default third argument is left out; the copies inside share the signal.
    LayoutItemHandle group = makeRectangleGroup(gauge, label, PlacedRect(), PlacedRect(R(), false));
    auto& rectangles = dynamic_cast<RectangleGroup&>(*group).rectangles;
    ASSERT_EQ(3u, rectangles.size());
    EXPECT_RECT(R(0, 0, 100, 40), group->getRect());
    group->arrange(R(10, 10, 210, 90));
    EXPECT_TRUE(listener.seen.empty());
    EXPECT_RECT(R(10, 70, 210, 90), rectangles[1].rect);
    group->notifyPlacement();
    EXPECT_EQ((std::vector<std::string>{"(10,10,210,50) shown"}), listener.seen);
    EXPECT_TRUE(group->isVisible());
    group->show(false);
    EXPECT_FALSE(group->isVisible());
    EXPECT_RECT(R(10, 10, 210, 90), group->getExtent());
}

TEST(LayoutRectangleGroup, OnlyTheFirstArgumentMakesAGroupOfOne)
{
    LayoutItemHandle group = makeRectangleGroup(PlacedRect(R(1, 2, 3, 4)));
    EXPECT_EQ(1u, dynamic_cast<RectangleGroup&>(*group).rectangles.size());
}

// Placement functions.

struct PlaceCase {
    unsigned type;
    POINT expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << "type " << c.type; }

class PlaceNextTo : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceNextTo, FollowsTheTable)
{
    // 20 by 10 at (3, 4), beside (100, 100, 150, 130) with a gap of 6.
    const POINT p = placeNextTo(R(3, 4, 23, 14), R(100, 100, 150, 130), GetParam().type, 6);
    EXPECT_EQ(GetParam().expected.x, p.x);
    EXPECT_EQ(GetParam().expected.y, p.y);
}

INSTANTIATE_TEST_SUITE_P(Types, PlaceNextTo,
                         testing::Values(PlaceCase{0, {74, 4}}, PlaceCase{1, {156, 4}}, PlaceCase{2, {3, 84}},
                                         PlaceCase{3, {3, 136}}, PlaceCase{4, {74, 110}}, PlaceCase{5, {156, 110}},
                                         PlaceCase{6, {115, 84}}, PlaceCase{7, {115, 136}}, PlaceCase{8, {156, 100}},
                                         PlaceCase{9, {0, 0}}));

TEST(Placement, ShiftToInside)
{
    const RECT bounds = R(0, 0, 100, 100);
    auto shift = [&](RECT r) {
        const POINT p = shiftToInside(r, bounds);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(std::make_pair(0, 0), shift(R(10, 10, 20, 20)));
    EXPECT_EQ(std::make_pair(-20, 0), shift(R(90, 10, 120, 20)));
    EXPECT_EQ(std::make_pair(5, 7), shift(R(-5, -7, 20, 20)));
    // Larger than the bounds on both sides: the two terms cancel.
    EXPECT_EQ(std::make_pair(0, 0), shift(R(-10, 0, 110, 20)));
}

TEST(Placement, TileWindowsStayInTheArea)
{
    const RECT area = R(0, 0, 1270, 800);
    auto tile = [&](std::vector<TileWindow> windows) { return tileWindows(windows, area); };
    EXPECT_TRUE(tile({}).empty());

    // One window takes the area; two stand side by side; three: two above, one wide below.
    std::vector<RECT> one = tile({TileWindow{}});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_RECT(area, one[0]);
    std::vector<RECT> two = tile({TileWindow{}, TileWindow{}});
    EXPECT_RECT(R(0, 0, 635, 800), two[0]);
    EXPECT_RECT(R(635, 0, 1270, 800), two[1]);
    std::vector<RECT> three = tile({TileWindow{}, TileWindow{}, TileWindow{}});
    EXPECT_RECT(R(0, 0, 635, 400), three[0]);
    EXPECT_RECT(R(635, 0, 1270, 400), three[1]);
    EXPECT_RECT(R(0, 400, 1270, 800), three[2]);

    // A window of fixed size keeps it and leaves the rest of its row to the
    // others; side by side as long as the smallest sizes fit, else one above
    // the other; nothing overlaps.
    TileWindow form{SIZE{690, 350}, SIZE{690, 350}};
    TileWindow sessions{SIZE{540, 300}, SIZE{100000, 100000}};
    std::vector<RECT> beside = tile({sessions, form});
    EXPECT_RECT(R(0, 0, 580, 800), beside[0]);
    EXPECT_RECT(R(580, 0, 1270, 350), beside[1]);
    TileWindow wideForm{SIZE{818, 380}, SIZE{818, 380}};
    std::vector<RECT> mixed = tile({sessions, wideForm});
    EXPECT_RECT(R(0, 0, 1270, 420), mixed[0]);
    EXPECT_RECT(R(0, 420, 818, 800), mixed[1]);
    // Four: two rows of two; the fixed form's row keeps the height the other needs.
    std::vector<RECT> four = tile({sessions, form, TileWindow{}, TileWindow{}});
    EXPECT_RECT(R(0, 0, 580, 400), four[0]);
    EXPECT_RECT(R(580, 0, 1270, 350), four[1]);
    EXPECT_RECT(R(0, 400, 635, 800), four[2]);
    EXPECT_RECT(R(635, 400, 1270, 800), four[3]);
    for (const std::vector<RECT>* set : {&beside, &mixed, &four})
        for (std::size_t i = 0; i < set->size(); ++i)
            for (std::size_t j = i + 1; j < set->size(); ++j) {
                const RECT& a = (*set)[i];
                const RECT& b = (*set)[j];
                EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top)
                    << i << " and " << j << " overlap";
            }

    // Where even the smallest sizes cannot fit, a window slides left to stay
    // inside, never past the area's left.
    std::vector<RECT> cramped = tileWindows({wideForm, wideForm}, R(0, 0, 700, 500));
    EXPECT_RECT(R(0, 0, 818, 380), cramped[0]) << "wider than the area: at its left edge";
    EXPECT_RECT(R(0, 0, 818, 380), cramped[1]);
    for (const RECT& r : mixed) {
        EXPECT_GE(r.left, area.left);
        EXPECT_LE(r.right, area.right);
        EXPECT_LE(r.bottom, area.bottom);
    }
}

TEST(Placement, CascadeShowsEveryTitleAndKeepsFixedSizes)
{
    const RECT area = R(0, 0, 1270, 800);
    EXPECT_TRUE(cascadeWindows({}, area, 24).empty());
    TileWindow form{SIZE{690, 350}, SIZE{690, 350}};
    TileWindow sessions{SIZE{540, 300}, SIZE{100000, 100000}};
    // Back to front: the growing window takes the area less one step; the form keeps its size.
    std::vector<RECT> two = cascadeWindows({sessions, form}, area, 24);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_RECT(R(0, 0, 1246, 776), two[0]);
    EXPECT_RECT(R(24, 24, 714, 374), two[1]);
    // Three growing windows: each a step further, all of one size.
    std::vector<RECT> three = cascadeWindows({TileWindow{}, TileWindow{}, TileWindow{}}, area, 24);
    EXPECT_RECT(R(0, 0, 1222, 752), three[0]);
    EXPECT_RECT(R(48, 48, 1270, 800), three[2]);
    // A small area: minimum sizes hold, and the windows stay inside where they fit.
    std::vector<RECT> small = cascadeWindows({sessions, sessions}, R(0, 0, 560, 320), 24);
    EXPECT_RECT(R(0, 0, 540, 300), small[0]);
    EXPECT_RECT(R(20, 20, 560, 320), small[1]);
}

TEST_F(LayoutWindows, WindowRectIsMeasuredInTheParentsClientArea)
{
    WindowHandle panel = windows.make(dlg, R(20, 30, 220, 130));
    WindowHandle edit = windows.make(FakeWindows::get(panel), R(5, 6, 55, 26));
    EXPECT_RECT(R(125, 136, 175, 156), windows.getWindowRect(edit));
    EXPECT_RECT(R(5, 6, 55, 26), getWindowRectInParent(edit));
    EXPECT_RECT(R(100, 100, 400, 300), getWindowRectInParent(dialog));
    moveWindowNextTo(edit, R(60, 0, 80, 40), 5, 6);
    EXPECT_RECT(R(86, 10, 136, 30), FakeWindows::rectOf(edit));
}

TEST_F(LayoutWindows, ChildBoundsFitAndGrow)
{
    EXPECT_RECT(R(-1, 0, -2, 0), childWindowsBounds(dialog));
    windows.make(dlg, R(10, 10, 50, 30));
    windows.make(dlg, R(60, 40, 90, 70));
    EXPECT_RECT(R(110, 110, 190, 170), childWindowsBounds(dialog));
    growWindowToChildren(dialog, R(200, 0, 0, 0));
    EXPECT_RECT(R(-90, 100, 400, 300), dlg->rect);
    fitWindowToChildren(dialog, R(5, 5, 5, 5));
    EXPECT_RECT(R(0, 0, 90, 70), dlg->rect);
}

TEST_F(LayoutWindows, SingleWindowSizingAndCentring)
{
    WindowHandle button = windows.make(dlg, R(10, 20, 50, 40));
    setWindowWidth(button, 100);
    EXPECT_RECT(R(10, 20, 110, 40), FakeWindows::rectOf(button));
    setWindowHeight(button, 30);
    EXPECT_RECT(R(10, 20, 110, 50), FakeWindows::rectOf(button));
    centreWindowInParent(button);
    EXPECT_RECT(R(100, 20, 200, 50), FakeWindows::rectOf(button));
    centreWindowBetween(button, 0, 101);
    EXPECT_EQ(0, FakeWindows::rectOf(button).left);
    keepWindowInside(button, R(150, 150, 400, 400));
    EXPECT_RECT(R(50, 50, 150, 80), FakeWindows::rectOf(button));
}

TEST_F(LayoutWindows, WindowSetMovesSizesAndShowsTogether)
{
    WindowHandle a = windows.make(dlg, R(10, 10, 50, 30));
    WindowHandle b = windows.make(dlg, R(60, 20, 100, 40));
    WindowSet set;
    set.moveTo(5, 5); // an empty set does nothing
    EXPECT_EQ(0, windows.moves);
    set.add(a);
    set.add(b);
    EXPECT_EQ(dialog, set.parent);
    EXPECT_RECT(R(10, 10, 100, 40), set.getBounds());
    set.moveTo(0, 100);
    EXPECT_RECT(R(0, 100, 40, 120), FakeWindows::rectOf(a));
    EXPECT_RECT(R(50, 110, 90, 130), FakeWindows::rectOf(b));
    EXPECT_RECT(R(0, 100, 90, 130), set.getBounds());
    ASSERT_EQ(2u, windows.invalidated.size());
    EXPECT_RECT(R(10, 10, 100, 40), windows.invalidated[0].rect);
    set.centreInParent();
    EXPECT_EQ(105, set.getBounds().left);
    set.setWidth(10);
    EXPECT_RECT(R(105, 100, 165, 130), set.getBounds());
    set.showAll(0);
    EXPECT_FALSE(FakeWindows::get(a)->visible);
    set.enableAll(false);
    EXPECT_FALSE(FakeWindows::get(b)->enabled);
    set.remove(a);
    EXPECT_EQ(1u, set.windows.size());
    WindowHandle frame = windows.make(dlg, R());
    set.wrapAround(frame, 2, 3, 4, 5);
    EXPECT_RECT(R(103, 97, 169, 135), FakeWindows::rectOf(frame));
}

} // namespace
