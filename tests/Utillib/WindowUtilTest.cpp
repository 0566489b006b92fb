#include "Utillib/WindowUtil.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::ComboBox;

void fill(ComboBox& combo, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        combo.addString(text);
}

TEST(SelectComboString, DropDownListPrefersTheExactItem)
{
    ComboBox combo(CBS_DROPDOWNLIST);
    fill(combo, { "Adult", "Adult 2", "Child" });
    struct Case {
        const char* text;
        int selected;
    } cases[] = {
        { "Adult 2", 1 }, // not the first prefix match
        { "adult", 0 },   // no exact match: the first prefix match
        { "Adult", 0 },
        { "Ch", 2 },
        { "", -1 },       // clears
    };
    for (const auto& c : cases) {
        combo.setCurSel(1);
        Utillib::selectComboString(&combo, c.text);
        EXPECT_EQ(combo.getCurSel(), c.selected) << c.text;
    }
    combo.setCurSel(2);
    Utillib::selectComboString(&combo, "Nobody");
    EXPECT_EQ(combo.getCurSel(), 2); // unchanged
    EXPECT_EQ(Utillib::getComboText(&combo), "Child");
    combo.setCurSel(-1);
    EXPECT_EQ(Utillib::getComboText(&combo), "");
}

TEST(SelectComboString, EditableComboShowsTheText)
{
    ComboBox combo(CBS_DROPDOWN);
    fill(combo, { "02:00", "No limit" });
    combo.setCurSel(0);
    Utillib::selectComboString(&combo, "02:00");
    EXPECT_EQ(combo.getCurSel(), 0); // already shown: untouched
    Utillib::selectComboString(&combo, "03:30");
    EXPECT_EQ(combo.getCurSel(), -1);
    EXPECT_EQ(Utillib::getComboText(&combo), "03:30");
    combo.setCurSel(1);
    combo.setShownText("typed");
    EXPECT_EQ(Utillib::getComboText(&combo), "No limit");
    EXPECT_EQ(Utillib::getComboText(&combo, true), "typed");
}

TEST(ComboSelectionKeeper, RefillKeepsTheChoiceWhenItIsStillThere)
{
    ComboBox combo(CBS_DROPDOWNLIST);
    fill(combo, { "Anna", "Bert", "Carl" });
    combo.setCurSel(1);
    {
        Utillib::ComboSelectionKeeper keeper(&combo);
        combo.resetContent();
        fill(combo, { "Bert", "Dora" });
    }
    EXPECT_EQ(Utillib::getComboText(&combo), "Bert");
    {
        Utillib::ComboSelectionKeeper keeper(&combo);
        combo.resetContent();
        fill(combo, { "Dora" });
    }
    EXPECT_EQ(combo.getCurSel(), -1);
    auto* gone = new ComboBox(CBS_DROPDOWNLIST);
    {
        Utillib::ComboSelectionKeeper keeper(gone);
        delete gone; // the keeper outlives its combo box safely
    }
}

TEST(CopyComboItems, SortedTargetSortsAndKeepsItsText)
{
    ComboBox source(CBS_DROPDOWNLIST);
    fill(source, { "c", "a", "b" });
    ComboBox target(CBS_DROPDOWNLIST | CBS_SORT);
    fill(target, { "b", "x" });
    target.setCurSel(0);
    Utillib::copyComboItems(&source, &target);
    ASSERT_EQ(target.getCount(), 3);
    EXPECT_EQ(target.getLBText(0), "a");
    EXPECT_EQ(target.getLBText(2), "c");
    EXPECT_EQ(Utillib::getComboText(&target), "b");
}

class SampleForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        res::registerResources();
        ASSERT_TRUE(dialog.create(IDD_SAMPLE));
        QObject::connect(&dialog, &platform::Dialog::command, [this](int id, int code) {
            if (code == EN_CHANGE)
                changes.push_back(id);
        });
    }
    platform::Dialog dialog;
    std::vector<int> changes;
};

TEST_F(SampleForm, TextIsSetOnlyWhenItChanges)
{
    QWidget* name = platform::dlgItem(&dialog, IDC_SAMPLE_NAME);
    Utillib::setWindowTextIfChanged(name, "Anna");
    Utillib::setWindowTextIfChanged(name, "Anna");
    Utillib::setDlgItemTextIfChanged(&dialog, IDC_SAMPLE_NAME, "Anna");
    EXPECT_EQ(changes.size(), 1u);
    // Narrow texts are in the ANSI code page (1252): 0xE9 is "é".
    Utillib::setWindowTextIfChanged(name, "Ren\xE9");
    EXPECT_EQ(platform::windowText(name), QString::fromUtf8("René"));
    EXPECT_EQ(Utillib::getWindowText(name), "Ren\xE9");
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(Utillib::getWindowText(nullptr), "");
}

TEST_F(SampleForm, DisablingTheFocusedControlHandsTheFocusOn)
{
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QWidget* name = platform::dlgItem(&dialog, IDC_SAMPLE_NAME);
    QWidget* mode = platform::dlgItem(&dialog, IDC_SAMPLE_MODE);
    name->setFocus();
    ASSERT_TRUE(name->hasFocus());
    Utillib::enableWithFocus(name, false);
    EXPECT_FALSE(name->isEnabled());
    EXPECT_TRUE(mode->hasFocus());
    // Already disabled: nothing happens, the focus stays where it is.
    Utillib::enableWithFocus(name, false);
    EXPECT_TRUE(mode->hasFocus());
    Utillib::enableWithFocus(name, true);
    EXPECT_TRUE(name->isEnabled());
    Utillib::showWithFocus(mode, false);
    EXPECT_FALSE(mode->isVisible());
    EXPECT_FALSE(mode->hasFocus());
    EXPECT_TRUE(platform::dlgItem(&dialog, IDC_SAMPLE_DURATION)->hasFocus());
}

TEST_F(SampleForm, ClassQueries)
{
    EXPECT_TRUE(Utillib::isComboBox(platform::dlgItem(&dialog, IDC_SAMPLE_MODE)));
    EXPECT_TRUE(Utillib::isDropDownList(platform::dlgItem(&dialog, IDC_SAMPLE_MODE)));
    EXPECT_FALSE(Utillib::isDropDownList(platform::dlgItem(&dialog, IDC_SAMPLE_DURATION)));
    EXPECT_FALSE(Utillib::isComboBox(platform::dlgItem(&dialog, IDC_SAMPLE_NAME)));
    EXPECT_FALSE(Utillib::isComboBox(nullptr));
    RECT area = Utillib::workArea(&dialog);
    EXPECT_GT(area.right - area.left, 0);
}

TEST(SetToolTipText, CopiesAreCutToTheBuffer)
{
    Utillib::ToolTipRequest narrow;
    Utillib::setToolTipText(std::wstring(2000, L'x'), narrow);
    ASSERT_NE(narrow.narrowText, nullptr);
    EXPECT_EQ(std::strlen(narrow.narrowText), 1023u);
    Utillib::ToolTipRequest wide { Utillib::ToolTipRequest::wideCode };
    Utillib::setToolTipText(L"Größe" + std::wstring(600, L'y'), wide);
    ASSERT_NE(wide.wideText, nullptr);
    EXPECT_EQ(std::wcslen(wide.wideText), 511u);
    EXPECT_EQ(std::wstring(wide.wideText, 5), L"Größe");
    Utillib::setToolTipText(L"Gr\u00F6\u00DFe", narrow);
    EXPECT_STREQ(narrow.narrowText, "Gr\xF6\xDF" "e");
}

} // namespace
