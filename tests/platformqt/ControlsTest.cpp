#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::CheckListBox;
using platform::ComboBox;
using platform::ListBox;

QStringList items(const ComboBox& combo)
{
    QStringList out;
    for (int i = 0; i < combo.getCount(); ++i)
        out << combo.getLBText(i);
    return out;
}

TEST(ComboBox, AddingSelectsNothingAndSortedListsSortIgnoringCase)
{
    for (DWORD kind : { CBS_DROPDOWNLIST, CBS_DROPDOWN }) {
        ComboBox combo(kind | CBS_SORT);
        EXPECT_EQ(combo.addString("b"), 0);
        EXPECT_EQ(combo.getCurSel(), -1) << kind;
        EXPECT_EQ(combo.addString("C"), 1);
        EXPECT_EQ(combo.addString("a"), 0);
        EXPECT_EQ(combo.addString("B"), 2); // after the equal "b"
        EXPECT_EQ(items(combo), QStringList({ "a", "b", "B", "C" }));
        EXPECT_EQ(combo.getCurSel(), -1);
        EXPECT_EQ(combo.shownText(), "");
    }
    ComboBox unsorted(CBS_DROPDOWNLIST);
    unsorted.addString("z");
    unsorted.addString("a");
    EXPECT_EQ(items(unsorted), QStringList({ "z", "a" }));
}

TEST(ComboBox, SelectionFollowsItsItemThroughInsertsAndIsClearedWhenItIsDeleted)
{
    ComboBox combo(CBS_DROPDOWN | CBS_SORT);
    combo.addString("m");
    EXPECT_EQ(combo.setCurSel(0), 0);
    combo.addString("a");
    EXPECT_EQ(combo.getCurSel(), 1);
    EXPECT_EQ(combo.shownText(), "m");
    EXPECT_EQ(combo.deleteString(1), 1);
    EXPECT_EQ(combo.getCurSel(), -1);
    EXPECT_EQ(combo.shownText(), "m"); // the edit field keeps its text
    EXPECT_EQ(combo.deleteString(5), CB_ERR);
    combo.setCurSel(0);
    EXPECT_EQ(combo.setCurSel(-1), CB_ERR);
    EXPECT_EQ(combo.shownText(), "");
    combo.setShownText("typed");
    combo.resetContent();
    EXPECT_EQ(combo.getCount(), 0);
    EXPECT_EQ(combo.shownText(), "");
}

TEST(ComboBox, PrefixSearchIgnoresCaseAndWrapsFromTheStartItem)
{
    ComboBox combo(CBS_DROPDOWNLIST);
    for (const char* text : { "Adult", "Baby", "Adult 2", "adolescent" })
        combo.addString(text);
    EXPECT_EQ(combo.findString(-1, "adult"), 0);
    EXPECT_EQ(combo.findString(0, "adult"), 2);
    EXPECT_EQ(combo.findString(2, "adult"), 0); // wraps around
    EXPECT_EQ(combo.findString(-1, "AD"), 0);
    EXPECT_EQ(combo.findString(0, "ado"), 3);
    EXPECT_EQ(combo.findString(-1, "x"), CB_ERR);
    EXPECT_EQ(combo.findStringExact(-1, "ADULT 2"), 2);
    EXPECT_EQ(combo.findStringExact(-1, "Adul"), CB_ERR);
    EXPECT_EQ(combo.selectString(-1, "b"), 1);
    EXPECT_EQ(combo.shownText(), "Baby");
    EXPECT_EQ(combo.selectString(-1, "q"), CB_ERR);
    EXPECT_EQ(combo.getCurSel(), 1); // unchanged
    ComboBox empty(CBS_DROPDOWNLIST);
    EXPECT_EQ(empty.findString(-1, "a"), CB_ERR);
}

TEST(ComboBox, TypedTextIsTheTextAndSelectsOnlyAMatchingItem)
{
    ComboBox combo(CBS_DROPDOWN);
    combo.addString("02:00");
    combo.addString("No limit");
    combo.setCurSel(0);
    combo.lineEdit()->clear();
    combo.setCurSel(0);
    QSignalSpy activated(&combo, &QComboBox::activated);
    combo.lineEdit()->selectAll();
    QTest::keyClicks(combo.lineEdit(), "3 min");
    EXPECT_EQ(combo.getCurSel(), -1);
    EXPECT_EQ(combo.shownText(), "3 min");
    combo.lineEdit()->selectAll();
    QTest::keyClicks(combo.lineEdit(), "no limit");
    EXPECT_EQ(combo.getCurSel(), 1);
    EXPECT_EQ(combo.shownText(), "no limit");
    EXPECT_EQ(activated.count(), 0);
}

TEST(ListBox, SortedSingleSelectionWithNoneSelectedAtFirst)
{
    ListBox list(LBS_SORT | LBS_NOTIFY);
    QSignalSpy user(&list, &ListBox::userSelectionChanged);
    list.addString("COM3");
    list.addString("com1");
    list.addString("COM2");
    EXPECT_EQ(list.getText(0), "com1");
    EXPECT_EQ(list.getText(2), "COM3");
    EXPECT_EQ(list.getCurSel(), -1);
    EXPECT_EQ(list.setCurSel(2), 2);
    EXPECT_EQ(list.getCurSel(), 2);
    EXPECT_EQ(list.selectString(-1, "COM2"), 1);
    EXPECT_EQ(list.setCurSel(-1), LB_ERR);
    EXPECT_EQ(list.getCurSel(), -1);
    EXPECT_EQ(user.count(), 0); // the program's own changes are not the user's
    EXPECT_EQ(list.deleteString(0), 2);
    EXPECT_EQ(list.deleteString(7), LB_ERR);
}

TEST(ListBox, MultipleSelection)
{
    ListBox list(LBS_EXTENDEDSEL);
    for (const char* text : { "a", "b", "c" })
        list.addString(text);
    EXPECT_EQ(list.setCurSel(1), LB_ERR);
    EXPECT_TRUE(list.setSel(0, true));
    EXPECT_TRUE(list.setSel(2, true));
    EXPECT_EQ(list.getSelCount(), 2);
    EXPECT_TRUE(list.getSel(2));
    EXPECT_TRUE(list.setSel(-1, false));
    EXPECT_EQ(list.getSelCount(), 0);
}

TEST(CheckListBox, ItemsCarryCheckStates)
{
    CheckListBox list(LBS_NOTIFY);
    QSignalSpy user(&list, &CheckListBox::userCheckChanged);
    list.addString("one");
    list.insertString(0, "zero");
    EXPECT_EQ(list.getCheck(0), 0);
    EXPECT_TRUE(list.setCheck(1, 1));
    EXPECT_TRUE(list.setCheck(0, 2));
    EXPECT_EQ(list.getCheck(1), 1);
    EXPECT_EQ(list.getCheck(0), 2);
    EXPECT_EQ(list.getCheck(5), -1);
    EXPECT_FALSE(list.setCheck(0, 3));
    EXPECT_EQ(user.count(), 0);
    list.item(0)->setCheckState(Qt::Unchecked); // as a click does
    EXPECT_EQ(user.count(), 1);
}

TEST(CheckListBox, DisabledItemsKeepTheirCheckAndCannotBeClicked)
{
    CheckListBox list(LBS_NOTIFY);
    QSignalSpy user(&list, &CheckListBox::userCheckChanged);
    list.addString("free");
    list.addString("taken");
    EXPECT_TRUE(list.isItemEnabled(1));
    EXPECT_TRUE(list.enableItem(1, false));
    EXPECT_FALSE(list.isItemEnabled(1));
    EXPECT_TRUE(list.isItemEnabled(0));
    EXPECT_FALSE(list.enableItem(2, false));
    EXPECT_FALSE(list.isItemEnabled(-1));
    EXPECT_TRUE(list.setCheck(1, 1)) << "the program still sets it";
    EXPECT_EQ(list.getCheck(1), 1);
    EXPECT_EQ(user.count(), 0);

    list.resize(200, 100);
    list.show();
    for (int row : { 0, 1 }) {
        const QRect rect = list.visualItemRect(list.item(row));
        // The check box sits at the start of the row.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(rect.left() + rect.height() / 2, rect.center().y()));
    }
    EXPECT_EQ(list.getCheck(0), 1) << "an enabled item toggles";
    EXPECT_EQ(list.getCheck(1), 1) << "a disabled one does not";
    EXPECT_EQ(user.count(), 1);
    EXPECT_TRUE(list.enableItem(1, true));
    EXPECT_TRUE(list.isItemEnabled(1));
}

} // namespace
