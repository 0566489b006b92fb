// The report control's data and row arithmetic, without a window.
#include "ui/ReportLayout.h"
#include "ui/ReportModel.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

// Records what the model tells its owner; vetoes the rows in `veto`.
struct Owner : ReportModelOwner {
    std::vector<int> vetoed;
    std::vector<std::pair<int, int>> changing, changed;
    std::map<int, int> requests;
    int selectionChanging(int row, int state) override
    {
        changing.emplace_back(row, state);
        return std::find(vetoed.begin(), vetoed.end(), row) != vetoed.end() ? 1 : 0;
    }
    void selectionChanged(int row, int state) override { changed.emplace_back(row, state); }
    void rowChanged(int) override {}
    void requestRow(ReportItem& request) override
    {
        ++requests[request.row * 100 + request.subitem];
        request.mask = ReportMask::Text | ReportMask::ExtraHeight;
        request.text = QString("row %1 col %2").arg(request.row).arg(request.subitem);
        request.extraHeight = request.row % 10 == 0 ? 5 : 0;
    }
};

ReportModel modelWith(int columns, int rows)
{
    ReportModel m;
    for (int c = 0; c < columns; ++c) {
        ReportColumn col;
        col.title = QString("C%1").arg(c);
        m.defineColumn(c, col);
    }
    for (int r = 0; r < rows; ++r) {
        ReportItem item;
        item.row = r;
        item.mask = ReportMask::Text | ReportMask::Data;
        item.text = QString("r%1").arg(r);
        item.data = r;
        m.insertItem(item);
    }
    return m;
}

ReportItem read(const ReportModel& m, int row, int subitem, int textMax = 256)
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    item.textMax = textMax;
    EXPECT_TRUE(m.getItem(&item));
    return item;
}

bool set(ReportModel& m, int row, int subitem, int mask, const QString& text, int colour = -1, int image = -1)
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    item.mask = mask;
    item.text = text;
    item.colour = colour;
    item.image = image;
    return m.setItem(item);
}

} // namespace

TEST(ReportModel, SubitemsReadBackWhatWasSetAndNothingElse)
{
    ReportModel m = modelWith(6, 1);
    ReportItem empty = read(m, 0, 5);
    EXPECT_EQ(empty.mask, ReportMask::State | ReportMask::Data);
    EXPECT_EQ(empty.image, -1);
    EXPECT_EQ(empty.colour, -1);
    EXPECT_TRUE(empty.text.isEmpty());

    ASSERT_TRUE(set(m, 0, 1, ReportMask::Text | ReportMask::Image, "abcdef", -1, 4));
    ASSERT_TRUE(set(m, 0, 1, ReportMask::Colour, QString(), 2));
    ReportItem item = read(m, 0, 1);
    EXPECT_EQ(item.text, "abcdef");
    EXPECT_EQ(item.colour, 2);
    EXPECT_EQ(item.image, 4);
    EXPECT_EQ(item.mask, ReportMask::Text | ReportMask::Colour | ReportMask::Image | ReportMask::State |
                             ReportMask::Data);
    EXPECT_EQ(read(m, 0, 1, 4).text, "abc");

    // A separator or a long text is kept whole and moves no other cell.
    QString awkward = QString("a|b(1,2,3,4)c|") + QString(400, QLatin1Char('x'));
    ASSERT_TRUE(set(m, 0, 2, ReportMask::Text, awkward));
    EXPECT_EQ(read(m, 0, 2, 1000).text, awkward);
    EXPECT_EQ(read(m, 0, 3).mask & ReportMask::Text, 0);

    ASSERT_TRUE(set(m, 0, 1, ReportMask::Text, QString()));
    EXPECT_EQ(read(m, 0, 1).mask & ReportMask::Text, 0);

    // State bits 0 and 1 belong to the control.
    ReportItem state;
    state.row = 0;
    state.mask = ReportMask::State;
    state.state = ReportState::Bold | ReportState::Selected;
    ASSERT_TRUE(m.setItem(state));
    EXPECT_EQ(read(m, 0, 0).state, ReportState::Bold);

    // Rows and subitems that do not exist are refused.
    EXPECT_FALSE(set(m, 1, 0, ReportMask::Text, "x"));
    EXPECT_FALSE(set(m, 0, 6, ReportMask::Text, "x"));
    ReportItem missing;
    missing.row = 0;
    missing.subitem = 7;
    EXPECT_FALSE(m.getItem(&missing));
}

TEST(ReportModel, RowsAndColumnsInsertedBetweenOthersShiftTheRest)
{
    ReportModel m = modelWith(2, 3);
    ReportItem first;
    first.row = 0;
    first.mask = ReportMask::Text;
    first.text = "new";
    EXPECT_EQ(m.insertItem(first), 0);
    EXPECT_EQ(m.getRowOrder(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(m.positionOf(3), 3);
    EXPECT_EQ(read(m, 0, 0).text, "new");
    EXPECT_EQ(read(m, 1, 0).text, "r0");
    first.row = 9;
    EXPECT_EQ(m.insertItem(first), ReportModel::noRow);

    ReportColumn middle;
    EXPECT_EQ(m.defineColumn(1, middle), 1);
    EXPECT_EQ(m.column(1)->width, 200);
    ASSERT_TRUE(set(m, 1, 2, ReportMask::Text, "right"));
    EXPECT_EQ(read(m, 1, 0).text, "r0");
    EXPECT_EQ(read(m, 1, 1).mask & ReportMask::Text, 0);
    EXPECT_EQ(m.defineColumn(5, middle), -1);

    EXPECT_EQ(m.insertColor(0, 0x111111), 0);
    EXPECT_EQ(m.insertColor(1, 0x222222), 1);
    EXPECT_EQ(m.insertColor(5, 0x0000FF), 5);
    EXPECT_EQ(m.colourTable(), (std::vector<COLORREF>{0x111111, 0x222222, 0, 0, 0, 0x0000FF}));
}

TEST(ReportModel, SelectionHonoursVetoesSingleSelectionAndToggles)
{
    ReportModel m = modelWith(1, 10);
    Owner owner;
    m.setOwner(&owner);
    m.select(2, 5, true, false, false, true);
    EXPECT_EQ(m.selectedRows(), (std::set<int>{2, 3, 4, 5}));
    EXPECT_EQ(m.focusRow, 2);

    owner.vetoed = {3};
    owner.changed.clear();
    m.select(7, 7, true, false, false, true); // plain: only 7, the others go, except the vetoed 3
    EXPECT_EQ(m.selectedRows(), (std::set<int>{3, 7}));
    for (auto& [row, state] : owner.changed)
        EXPECT_NE(row, 3);
    EXPECT_EQ(m.stateOf(3) & ReportState::Selected, ReportState::Selected);
    EXPECT_EQ(m.stateOf(2) & ReportState::Focused, 0);
    EXPECT_EQ(m.stateOf(7) & ReportState::Focused, ReportState::Focused);

    owner.vetoed.clear();
    m.select(7, 8, true, true, true, true); // toggle with extend: 7 off, 8 on, 3 stays
    EXPECT_EQ(m.selectedRows(), (std::set<int>{3, 8}));
    EXPECT_EQ(m.getFirstSelected(), 3);
    EXPECT_EQ(m.getNextSelected(3), 8);
    EXPECT_EQ(m.getNextSelected(8), ReportModel::noRow);

    m.style |= ReportStyle::SingleSelect;
    m.select(1, 6, true, true, false, true);
    EXPECT_EQ(m.selectedRows(), std::set<int>{1});

    m.deleteItem(0); // row 1 becomes row 0, focus with it
    EXPECT_EQ(m.selectedRows(), std::set<int>{0});
    EXPECT_EQ(m.focusRow, 0);
}

TEST(ReportModel, FindItemByTextPrefixWrapAndDirection)
{
    ReportModel m = modelWith(1, 30); // texts r0..r29
    struct Case {
        int flags;
        QString text;
        int start, found;
    } cases[] = {
        {ReportFind::Text, "r12", -1, 12},
        {ReportFind::Text, "r12", 12, ReportModel::noRow},
        {ReportFind::Text | ReportFind::Wrap, "r12", 20, 12},
        {ReportFind::Text | ReportFind::Wrap, "r12", 12, ReportModel::noRow},
        {ReportFind::Prefix, "r2", 3, 20},
        {ReportFind::Prefix | ReportFind::Backwards, "r2", 25, 24},
        {ReportFind::Prefix | ReportFind::Backwards, "r2", 1, ReportModel::noRow},
        {ReportFind::Prefix | ReportFind::Backwards | ReportFind::Wrap, "r2", 1, 29},
        {ReportFind::Text, "r", -1, ReportModel::noRow},
    };
    for (const Case& c : cases) {
        ReportFind find;
        find.flags = c.flags;
        find.text = c.text;
        EXPECT_EQ(m.findItem(find, 0, c.start), c.found) << c.text.toStdString() << " from " << c.start;
    }
}

TEST(ReportModel, SortingOrdersTheDisplayAndKeepsRowIndices)
{
    ReportModel m = modelWith(1, 200);
    auto compare = [&](int a, int b) { return (a % 7) - (b % 7); };
    m.sortRange(0, m.getItemCount() - 1, compare);
    for (int p = 1; p < 200; ++p)
        EXPECT_LE(m.rowAt(p - 1) % 7, m.rowAt(p) % 7);
    EXPECT_EQ(m.rowAt(m.positionOf(57)), 57);
}

TEST(ReportModel, OwnerDataRowsComeFromTheOwnerOncePerCachedCell)
{
    ReportModel m;
    m.style = ReportStyle::OwnerData;
    Owner owner;
    m.setOwner(&owner);
    m.defineColumn(0, ReportColumn{});
    m.defineColumn(1, ReportColumn{});
    ASSERT_TRUE(m.setItemCount(100000));
    EXPECT_EQ(m.getItemCount(), 100000);
    EXPECT_EQ(read(m, 99999, 1).text, "row 99999 col 1");
    EXPECT_EQ(read(m, 99999, 1).text, "row 99999 col 1");
    EXPECT_EQ(owner.requests[9999901], 1);
    EXPECT_EQ(m.extraHeightOf(50), 5);
    EXPECT_EQ(read(m, 99999 - 128, 1).text, "row 99871 col 1"); // same slot, new row
    EXPECT_EQ(read(m, 99999, 1).text, "row 99999 col 1");
    EXPECT_EQ(owner.requests[9999901], 2);
    EXPECT_FALSE(set(m, 5, 0, ReportMask::Text, "x"));
    ReportItem item;
    EXPECT_EQ(m.insertItem(item), ReportModel::noRow);
}

// Rows of 20 pixels in a 100-pixel area; row 3 has 30 pixels of extra area.
TEST(ReportLayout, VisibleRowsAndScrollCommands)
{
    ReportModel m = modelWith(1, 20);
    ReportItem extra;
    extra.row = 3;
    extra.mask = ReportMask::ExtraHeight;
    extra.extraHeight = 30;
    m.setItem(extra);
    ReportLayout layout(m, 20, 100);
    int last = 0;
    EXPECT_EQ(layout.countVisibleRows(true, 0, &last, false), 3); // 20+20+20, then 50 is cut
    EXPECT_EQ(last, 2);
    EXPECT_EQ(layout.countVisibleRows(false, 0, &last, false), 4);
    EXPECT_EQ(layout.countVisibleRows(true, 4, &last, false), 5); // exactly 100
    EXPECT_EQ(layout.countVisibleRows(true, 5, &last, true), 3);  // 5, 4, 3 = 90
    EXPECT_EQ(last, 3);
    EXPECT_EQ(layout.pageEndingAt(5), 3);

    struct Case {
        const char* command;
        int from, to;
    } cases[] = {
        {"lineUp", 0, 0},     {"lineUp", 4, 3},    {"lineDown", 0, 1},  {"lineDown", 15, 15},
        {"pageDown", 0, 3},   {"pageDown", 3, 6},  {"pageDown", 15, 15}, {"pageDown", 12, 15},
        {"pageUp", 8, 3},     {"pageUp", 1, 0},    {"thumb", 19, 15},   {"thumb", 7, 7},
    };
    for (const Case& c : cases) {
        std::string name = c.command;
        int result = name == "lineUp"     ? layout.lineUp(c.from)
                     : name == "lineDown" ? layout.lineDown(c.from)
                     : name == "pageDown" ? layout.pageDown(c.from)
                     : name == "pageUp"   ? layout.pageUp(c.from)
                                          : layout.thumb(c.from);
        EXPECT_EQ(result, c.to) << name << " from " << c.from;
    }
    EXPECT_EQ(layout.bottom(), 15);
    EXPECT_EQ(layout.scrollToShow(5, 2), 2);
    EXPECT_EQ(layout.scrollToShow(5, 12), 8);
    EXPECT_EQ(layout.scrollToShow(5, 7), 5);
    int top = 0;
    EXPECT_EQ(layout.positionAt(2, 45, &top), 3);
    EXPECT_EQ(top, 20);
    EXPECT_EQ(layout.positionAt(2, 65), 3); // in row 3's extra area
    EXPECT_EQ(ReportLayout(m, 20, 100).positionAt(19, 30), ReportModel::noRow);
}

TEST(ReportLayout, WheelNotchesAndFineDeltas)
{
    WheelSteps wheel;
    EXPECT_EQ(wheel.add(120, 3), 3);
    EXPECT_EQ(wheel.add(-240, 3), -6);
    EXPECT_EQ(wheel.add(120, -1), 1); // a page per notch
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(wheel.add(30, 1), i == 3 ? 1 : 0);
    EXPECT_EQ(wheel.remainder, 0);
}

TEST(ReportLayout, BackgroundAndTextColourPrecedence)
{
    ReportModel m;
    m.insertColor(0, 0xE6E6E6);
    m.insertColor(1, 0x0000FF);
    ReportColours c;
    struct Case {
        DWORD style;
        bool odd;
        int background;
        bool selected, focused;
        COLORREF expected;
    } backgrounds[] = {
        {0, true, -1, false, false, c.row},
        {ReportStyle::AlternateShading, true, -1, false, false, 0xE6E6E6},
        {ReportStyle::AlternateShading, false, -1, false, false, c.row},
        {ReportStyle::AlternateShading, true, 1, false, false, 0x0000FF},
        {0, false, 1, true, true, c.selectedFocused},
        {0, false, -1, true, false, c.row},
        {ReportStyle::KeepSelectionMark, false, -1, true, false, c.selectedUnfocused},
    };
    for (const Case& b : backgrounds) {
        m.style = b.style;
        EXPECT_EQ(rowBackground(m, c, b.odd, b.background, b.selected, b.focused), b.expected) << b.style;
    }
    struct TextCase {
        DWORD style;
        int colour;
        bool selected, focused;
        COLORREF expected;
    } texts[] = {
        {0, 1, false, false, 0x0000FF},
        {0, 7, false, false, c.text},
        {0, 1, true, true, c.selectedText},
        {ReportStyle::KeepItemColours, 1, true, true, 0x0000FF},
        {ReportStyle::KeepItemColours, -1, true, true, c.selectedText},
        {0, 1, true, false, 0x0000FF},
        {ReportStyle::KeepSelectionMark, 1, true, false, c.selectedTextUnfocused},
    };
    for (const TextCase& t : texts) {
        m.style = t.style;
        EXPECT_EQ(cellTextColour(m, c, t.colour, t.selected, t.focused), t.expected) << t.style << " " << t.colour;
    }
}
