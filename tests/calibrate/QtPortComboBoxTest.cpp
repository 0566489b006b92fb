#include "calibrate/QtPortComboBox.h"
#include "comm/CalibrateManager.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

// The session forms' manikin box: a sorted drop-down combo with an edit field.
TEST(QtPortComboBox, TheTableFillsTheBoxAndReadsWhatIsShownOrTyped)
{
    CalibrateManager table;
    for (int port : { 9, 12, 4 })
        table.setCalibrated(true, port);
    ComboBox box(CBS_DROPDOWN | CBS_SORT);
    box.addString("old");
    QtPortComboBox combo(&box);

    ASSERT_TRUE(table.fillPortCombo(combo));
    ASSERT_EQ(box.getCount(), 3);
    // Sorted as texts; each item keeps its port.
    EXPECT_EQ(box.getLBText(0), "12");
    EXPECT_EQ(box.itemData(0).toInt(), 12);
    EXPECT_EQ(box.getLBText(2), "9");
    EXPECT_EQ(box.itemData(2).toInt(), 9);
    EXPECT_EQ(box.getCurSel(), 0);
    EXPECT_EQ(table.portFromCombo(combo), 12);

    box.setShownText(" 9 ");
    EXPECT_EQ(table.portFromCombo(combo), 9);
    box.setShownText("none");
    EXPECT_EQ(table.portFromCombo(combo), 4) << "the first available and calibrated port";

    ComboBox list(CBS_DROPDOWNLIST);
    QtPortComboBox listCombo(&list);
    ASSERT_TRUE(table.fillPortCombo(listCombo));
    list.setCurSel(1);
    EXPECT_EQ(table.portFromCombo(listCombo), 9);
}

} // namespace
