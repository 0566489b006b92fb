// The training modes: names, the combo box filling and what a mode does to a
// form's two participant boxes.
#include "config/TrainingMode.h"

#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "support/TestSupport.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using platform::ComboBox;

TEST(TrainingMode, NamesAndComboBox)
{
    EXPECT_EQ(trainingModeName(SINGLE_PERSON), "Single-person CPR");
    EXPECT_EQ(trainingModeName(COMPRESSION_ONLY), "Chest compression only");
    EXPECT_EQ(trainingModeName(4), "");
    EXPECT_EQ(trainingModeName(-1), "");

    testsupport::LogCapture log;
    ComboBox unsorted(CBS_DROPDOWNLIST);
    unsorted.addString(QStringLiteral("kept"));
    fillTrainingModeCombo(&unsorted);
    EXPECT_FALSE(log.hasAssertion("(combox->comboStyle() & CBS_SORT) != CBS_SORT"));
    ASSERT_EQ(unsorted.getCount(), 5);
    EXPECT_EQ(unsorted.getLBText(0), "Single-person CPR");
    EXPECT_EQ(unsorted.getLBText(3), "Chest compression only");
    EXPECT_EQ(unsorted.getLBText(4), "kept");
    EXPECT_EQ(unsorted.getCurSel(), TWO_PERSON);

    // A sorting box is logged and still gets the modes at their positions.
    ComboBox sorted(CBS_DROPDOWNLIST | CBS_SORT);
    fillTrainingModeCombo(&sorted);
    EXPECT_TRUE(log.hasAssertion("(combox->comboStyle() & CBS_SORT) != CBS_SORT"));
    EXPECT_EQ(sorted.getLBText(2), "Ventilation only");
}

struct Form {
    ComboBox ventilation { CBS_DROPDOWN };
    ComboBox compression { CBS_DROPDOWN };
    QPushButton ventilationDetails;
    QPushButton compressionDetails;
    Form(const char* v, const char* c)
    {
        for (ComboBox* box : { &ventilation, &compression })
            for (const char* name : { "Anna", "User", "User 1", "User 2" })
                box->addString(QString::fromLatin1(name));
        ventilation.setShownText(QString::fromLatin1(v));
        compression.setShownText(QString::fromLatin1(c));
    }
    void set(int mode, bool adjust = true, bool defaults = true)
    {
        setParticipantFields(mode, &ventilation, &ventilationDetails, &compression, &compressionDetails, adjust,
                             defaults);
    }
};

TEST(TrainingMode, ParticipantFields)
{
    struct Case {
        const char* ventilation;
        const char* compression;
        int mode;
        bool adjust, defaults;
        const char* ventilationAfter;
        const char* compressionAfter;
        bool ventilationOn, compressionOn;
    } cases[] = {
        { "User 1", "User 2", SINGLE_PERSON, true, true, "User", "User", true, false },
        { "Bob", "User 2", SINGLE_PERSON, true, true, "Bob", "Bob", true, false },  // a typed name is kept and copied
        { "User", "User", TWO_PERSON, true, true, "User 1", "User 2", true, true },
        { "", "", TWO_PERSON, true, true, "User 1", "User 2", true, true },
        { "Bob", "Carl", TWO_PERSON, true, true, "Bob", "Carl", true, true },
        { "User 1", "Carl", VENTILATION_ONLY, true, true, "User", "", true, false },
        { "Bob", "Carl", COMPRESSION_ONLY, true, true, "", "Carl", false, true },
        { "User 1", "User 2", 7, true, true, "User", "User", true, true },       // unknown: both on
        // Without adjusting only the boxes' states change, not even the emptied text.
        { "User 1", "Carl", VENTILATION_ONLY, false, true, "User 1", "Carl", true, false },
        // Without default names empty boxes stay empty and "User" is a name like any other.
        { "", "User", TWO_PERSON, true, false, "", "User", true, true },
    };
    for (const auto& c : cases) {
        Form form(c.ventilation, c.compression);
        form.set(c.mode, c.adjust, c.defaults);
        EXPECT_EQ(form.ventilation.shownText(), c.ventilationAfter) << c.ventilation << "/" << c.compression << " " << c.mode;
        EXPECT_EQ(form.compression.shownText(), c.compressionAfter) << c.ventilation << "/" << c.compression << " " << c.mode;
        EXPECT_EQ(form.ventilation.isEnabled(), c.ventilationOn) << c.mode;
        EXPECT_EQ(form.ventilationDetails.isEnabled(), c.ventilationOn) << c.mode;
        EXPECT_EQ(form.compression.isEnabled(), c.compressionOn) << c.mode;
        EXPECT_EQ(form.compressionDetails.isEnabled(), c.compressionOn) << c.mode;
    }

    // Ventilation only empties the compression box; two-person mode brings it back.
    Form form("User 1", "Carl");
    form.set(VENTILATION_ONLY);
    form.set(TWO_PERSON);
    EXPECT_TRUE(form.compression.isEnabled());
    EXPECT_EQ(form.compression.shownText(), "User 2");
    EXPECT_EQ(form.ventilation.shownText(), "User 1");
}

} // namespace
