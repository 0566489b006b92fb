#include "platform/DialogTemplate.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Dialog.h"
#include "platformqt/DialogUnits.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace platform;

class SampleDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        res::registerResources();
        ASSERT_TRUE(dialog.create(IDD_SAMPLE)) << dialog.buildError();
    }
    Dialog dialog;
};

TEST_F(SampleDialog, BaseUnitsComeFromTheTemplateFont)
{
    // DejaVu Sans at 8 points on a 96 dpi screen is 11 pixels high.
    EXPECT_EQ(screenDpiY(), 96);
    SIZE units = dialog.baseUnits();
    EXPECT_EQ(units.cx, 7);
    EXPECT_EQ(units.cy, 13);
    EXPECT_EQ(dialog.font().pixelSize(), 11);
    EXPECT_EQ(dialog.size(), QSize(MulDiv(250, 7, 4), MulDiv(156, 13, 8)));
}

TEST_F(SampleDialog, ControlsSitAtTheirPixelRectanglesWithIdsClassesAndTexts)
{
    struct Expected {
        int id;
        const char* className;
        const char* text;
        QRect rect; // dialog units 7 x 13 per 4 x 8
    } cases[] = {
        { IDOK, "Button", "¤OK", QRect(338, 11, 88, 23) },          // 193,7 50x14
        { IDC_SAMPLE_NAME_LABEL, "Static", "¤Name:", QRect(12, 15, 88, 13) }, // 7,9 50x8
        { IDC_SAMPLE_NAME, "Edit", "", QRect(105, 11, 210, 20) },   // 60,7 120x12
        { IDC_SAMPLE_RATE_LABEL, "Static", "- comp./min", QRect(12, 41, 88, 13) },
        { IDC_SAMPLE_OPTIONS, "Button", "¤Options", QRect(12, 93, 303, 65) }, // 7,57 173x40
        { IDC_SAMPLE_PORTS, "ListBox", "", QRect(12, 167, 147, 75) },        // 7,103 84x46
        { IDC_SAMPLE_MANIKINS, "CheckListBox", "", QRect(168, 167, 147, 75) },
    };
    for (const auto& c : cases) {
        QWidget* control = dlgItem(&dialog, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(controlId(control), c.id);
        EXPECT_EQ(windowClassName(control), c.className) << c.id;
        EXPECT_EQ(windowText(control), QString::fromUtf8(c.text)) << c.id;
        EXPECT_EQ(control->geometry(), c.rect) << c.id;
    }
    EXPECT_EQ(dlgItem(&dialog, 4711), nullptr);
    EXPECT_EQ(windowText(&dialog), QString::fromUtf8("¤Sample settings"));
    EXPECT_EQ(windowClassName(&dialog), "#32770");
}

TEST_F(SampleDialog, ControlKindsFollowTheirStyles)
{
    EXPECT_NE(dlgItem<QPushButton>(&dialog, IDOK), nullptr);
    EXPECT_TRUE(dlgItem<QPushButton>(&dialog, IDOK)->isDefault());
    EXPECT_NE(dlgItem<QGroupBox>(&dialog, IDC_SAMPLE_OPTIONS), nullptr);
    EXPECT_NE(dlgItem<QRadioButton>(&dialog, IDC_SAMPLE_ADULT), nullptr);
    EXPECT_NE(dlgItem<QCheckBox>(&dialog, IDC_SAMPLE_REMEMBER), nullptr);
    EXPECT_NE(dlgItem<QLineEdit>(&dialog, IDC_SAMPLE_NAME), nullptr);
    EXPECT_NE(dlgItem<QLabel>(&dialog, IDC_SAMPLE_NAME_LABEL), nullptr);
    auto* mode = dlgItem<ComboBox>(&dialog, IDC_SAMPLE_MODE);
    ASSERT_NE(mode, nullptr);
    EXPECT_TRUE(mode->isDropDownList());
    EXPECT_TRUE(mode->isSorted());
    auto* duration = dlgItem<ComboBox>(&dialog, IDC_SAMPLE_DURATION);
    ASSERT_NE(duration, nullptr);
    EXPECT_FALSE(duration->isDropDownList());
    EXPECT_NE(dlgItem<CheckListBox>(&dialog, IDC_SAMPLE_MANIKINS), nullptr);
    // The style reads back with the widget's own state.
    QWidget* name = dlgItem(&dialog, IDC_SAMPLE_NAME);
    EXPECT_EQ(windowStyle(name) & (WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL),
              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL);
    name->setEnabled(false);
    EXPECT_TRUE(windowStyle(name) & WS_DISABLED);
}

TEST_F(SampleDialog, RadioButtonsAreExclusiveWithinTheirGroupOnly)
{
    auto* adult = dlgItem<QRadioButton>(&dialog, IDC_SAMPLE_ADULT);
    auto* child = dlgItem<QRadioButton>(&dialog, IDC_SAMPLE_CHILD);
    auto* remember = dlgItem<QCheckBox>(&dialog, IDC_SAMPLE_REMEMBER);
    std::vector<std::pair<int, int>> commands;
    QObject::connect(&dialog, &Dialog::command, [&](int id, int code) { commands.push_back({ id, code }); });
    remember->click();
    adult->click();
    child->click();
    EXPECT_EQ(buttonCheck(adult), 0);
    EXPECT_EQ(buttonCheck(child), 1);
    EXPECT_EQ(buttonCheck(remember), 1);
    child->click(); // an automatic radio button stays checked
    EXPECT_EQ(buttonCheck(child), 1);
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0], std::make_pair(IDC_SAMPLE_REMEMBER, BN_CLICKED));
    EXPECT_EQ(commands[2], std::make_pair(IDC_SAMPLE_CHILD, BN_CLICKED));
}

TEST_F(SampleDialog, FocusChainFollowsTheTemplateAndSkipsWhatCannotTakeIt)
{
    QWidget* name = dlgItem(&dialog, IDC_SAMPLE_NAME);
    QWidget* mode = dlgItem(&dialog, IDC_SAMPLE_MODE);
    QWidget* duration = dlgItem(&dialog, IDC_SAMPLE_DURATION);
    QWidget* adult = dlgItem(&dialog, IDC_SAMPLE_ADULT);
    QWidget* help = dlgItem(&dialog, IDC_SAMPLE_HELP);
    EXPECT_EQ(nextDlgTabItem(&dialog, nullptr), name);
    EXPECT_EQ(nextDlgTabItem(&dialog, name), mode);
    // Labels, group boxes and radio buttons without WS_TABSTOP are passed over.
    EXPECT_EQ(nextDlgTabItem(&dialog, duration), adult);
    EXPECT_EQ(nextDlgTabItem(&dialog, adult), dlgItem(&dialog, IDC_SAMPLE_REMEMBER));
    EXPECT_EQ(nextDlgTabItem(&dialog, help), name); // wraps around
    EXPECT_EQ(nextDlgTabItem(&dialog, name, true), help);
    mode->setEnabled(false);
    duration->hide();
    EXPECT_EQ(nextDlgTabItem(&dialog, name), adult);
    // The only tab stop left is its own next one.
    for (QWidget* child : childWindows(&dialog))
        if (child != name)
            child->setEnabled(false);
    EXPECT_EQ(nextDlgTabItem(&dialog, name), name);
    name->setEnabled(false);
    EXPECT_EQ(nextDlgTabItem(&dialog, name), nullptr);
}

TEST_F(SampleDialog, ChildEnumerationListsControlsNotTheirInnerParts)
{
    auto children = childWindows(&dialog);
    ASSERT_EQ(children.size(), 15u);
    EXPECT_EQ(controlId(children.front()), IDC_SAMPLE_NAME_LABEL);
    EXPECT_EQ(controlId(children.back()), IDC_SAMPLE_HELP);
    for (QWidget* child : children)
        EXPECT_NE(controlId(child), 0) << child->metaObject()->className();
}

TEST_F(SampleDialog, OkAndCancelEndTheModalDialogWithTheirIds)
{
    QTimer::singleShot(0, [&] { dlgItem<QPushButton>(&dialog, IDOK)->click(); });
    EXPECT_EQ(dialog.doModal(), IDOK);
    QTimer::singleShot(0, [&] { dialog.reject(); }); // Escape, the close box
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
}

TEST(DialogBuilder, AVisibleDialogRunsModally)
{
    DialogTable table { 1, "Visible", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 100, 50, "", 8,
                        { { IDOK, "Button", "OK", WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 10, 40, 14 } } };
    std::vector<unsigned char> bytes = encodeDialogTemplate(table);
    Dialog dialog;
    ASSERT_TRUE(dialog.createIndirect(bytes.data(), bytes.size(), nullptr));
    QWidget* modalDuringLoop = nullptr;
    QTimer::singleShot(0, [&] {
        modalDuringLoop = QApplication::activeModalWidget();
        dialog.endDialog(IDOK);
    });
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(modalDuringLoop, &dialog);
}

TEST_F(SampleDialog, WindowTextsReadAndWriteEveryKind)
{
    auto* duration = dlgItem<ComboBox>(&dialog, IDC_SAMPLE_DURATION);
    auto* mode = dlgItem<ComboBox>(&dialog, IDC_SAMPLE_MODE);
    EXPECT_TRUE(setWindowText(duration, "03:00"));
    EXPECT_EQ(windowText(duration), "03:00");
    EXPECT_FALSE(setWindowText(mode, "x")); // a drop-down list shows only its items
    mode->addString("Adult");
    mode->setCurSel(0);
    EXPECT_EQ(windowText(mode), "Adult");
    QWidget* group = dlgItem(&dialog, IDC_SAMPLE_OPTIONS);
    setWindowText(group, "Optionen");
    EXPECT_EQ(dlgItem<QGroupBox>(&dialog, IDC_SAMPLE_OPTIONS)->title(), "Optionen");
    QWidget* list = dlgItem(&dialog, IDC_SAMPLE_PORTS);
    setWindowText(list, "kept");
    EXPECT_EQ(windowText(list), "kept");
}

TEST(DialogBuilder, UnknownClassesFailUnlessRegisteredOrAllowedToFail)
{
    DialogTable table { 1, "t", WS_POPUP, 0, 0, 100, 50, "", 8,
                        { { 10, "Button", "a", WS_VISIBLE, 0, 0, 20, 10 },
                          { 11, "NoSuchClass", "b", WS_VISIBLE, 0, 12, 20, 10 } } };
    auto bytes = encodeDialogTemplate(table);
    {
        Dialog failing;
        EXPECT_FALSE(failing.createIndirect(bytes.data(), bytes.size()));
        EXPECT_NE(failing.buildError().find("NoSuchClass"), std::string::npos);
        EXPECT_TRUE(childWindows(&failing).empty());
    }
    {
        registerControlClass("nosuchclass", [](const ControlParameters& params, QWidget* parent) {
            auto* made = new QLabel(parent);
            made->setObjectName(QString::number(params.id));
            return made;
        });
        Dialog custom;
        EXPECT_TRUE(custom.createIndirect(bytes.data(), bytes.size())) << custom.buildError();
        QWidget* made = dlgItem(&custom, 11);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(windowClassName(made), "NoSuchClass");
        EXPECT_EQ(windowText(made), "b");
        unregisterControlClass("NoSuchClass");
    }
    {
        table.style |= DS_NOFAILCREATE;
        auto tolerant = encodeDialogTemplate(table);
        Dialog skipping;
        EXPECT_TRUE(skipping.createIndirect(tolerant.data(), tolerant.size()));
        EXPECT_EQ(childWindows(&skipping).size(), 1u);
    }
    Dialog missing;
    EXPECT_FALSE(missing.create(4242));
    const unsigned char junk[] = { 1, 2, 3 };
    Dialog broken;
    EXPECT_FALSE(broken.createIndirect(junk, sizeof junk));
}

TEST(DialogBuilder, ChildDialogsBecomeWidgetsOfTheirParent)
{
    DialogTable page { 2, "¤Page", WS_CHILD | WS_VISIBLE | DS_SETFONT, 10, 20, 80, 40, "DejaVu Sans", 8,
                       { { 5, "Static", "x", WS_VISIBLE, 0, 0, 20, 8 } } };
    auto bytes = encodeDialogTemplate(page);
    QWidget host;
    auto* dialog = new Dialog;
    ASSERT_TRUE(dialog->createIndirect(bytes.data(), bytes.size(), &host));
    EXPECT_FALSE(dialog->isWindow());
    EXPECT_EQ(dialog->parentWidget(), &host);
    EXPECT_EQ(dialog->pos(), QPoint(MulDiv(10, 7, 4), MulDiv(20, 13, 8)));
    EXPECT_EQ(windowText(dialog), QString::fromUtf8("¤Page"));
    auto children = childWindows(&host);
    ASSERT_EQ(children.size(), 2u); // the page and its static, in that order
    EXPECT_EQ(children[0], dialog);

    // A popup dialog keeps the owner it was made with; it is a window of its own.
    res::registerResources();
    Dialog owned(&host);
    ASSERT_TRUE(owned.create(IDD_SAMPLE));
    EXPECT_EQ(owned.parentWidget(), &host);
    EXPECT_TRUE(owned.isWindow());
    EXPECT_EQ(childWindows(&host).size(), 2u);
}

TEST_F(SampleDialog, Screenshot)
{
    auto* mode = dlgItem<ComboBox>(&dialog, IDC_SAMPLE_MODE);
    for (const char* text : { "Adult", "Child", "Infant" })
        mode->addString(text);
    mode->setCurSel(0);
    auto* ports = dlgItem<ListBox>(&dialog, IDC_SAMPLE_PORTS);
    ports->addString("COM1");
    ports->addString("COM3");
    auto* manikins = dlgItem<CheckListBox>(&dialog, IDC_SAMPLE_MANIKINS);
    manikins->addString("Manikin 1");
    manikins->addString("Manikin 2");
    manikins->setCheck(0, 1);
    dialog.show();
    QApplication::processEvents();
    QString path = QStringLiteral(SCREENSHOT_DIR "/sample-dialog.png");
    EXPECT_TRUE(dialog.grab().save(path));
}

} // namespace

namespace {

TEST_F(SampleDialog, StaticsShowMnemonicsWithoutTheirMarkButKeepTheirText)
{
    QWidget* label = dlgItem(&dialog, IDC_SAMPLE_NAME_LABEL);
    ASSERT_NE(label, nullptr);
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {
        { "&Quick Find", "Quick Find" },
        { "Fish && Chips", "Fish & Chips" },
        { "Ends with &", "Ends with " },
        { "No mark", "No mark" },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(setWindowText(label, QString::fromUtf8(c.text)));
        EXPECT_EQ(qobject_cast<QLabel*>(label)->text(), QString::fromUtf8(c.shown)) << c.text;
        EXPECT_EQ(windowText(label), QString::fromUtf8(c.text)) << "the window text stays as given";
    }
}

} // namespace

namespace {

// A read-only field looks read-only: the dialog's own colour behind its
// text and no stop for the Tab key, whatever its template says; the mouse
// still puts the caret in it to select and copy. An editable field beside
// it keeps the white of a field that takes typing.
TEST(DialogBuilder, ReadOnlyFieldsShowAsReadOnly)
{
    using platform::DialogTable;
    DialogTable table { 1, "Fields", WS_POPUP | DS_SETFONT, 0, 0, 120, 60, "DejaVu Sans", 8,
                        { { 10, "Edit", "fixed", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY,
                            4, 4, 100, 12 },
                          { 11, "Edit", "typed", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 4, 20, 100, 12 },
                          { 12, "Edit", "notes", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_READONLY,
                            4, 36, 100, 20 } } };
    auto bytes = encodeDialogTemplate(table);
    Dialog dialog;
    ASSERT_TRUE(dialog.createIndirect(bytes.data(), bytes.size(), nullptr));
    auto* fixed = dynamic_cast<QLineEdit*>(dlgItem(&dialog, 10));
    auto* typed = dynamic_cast<QLineEdit*>(dlgItem(&dialog, 11));
    QWidget* notes = dlgItem(&dialog, 12);
    ASSERT_NE(fixed, nullptr);
    ASSERT_NE(typed, nullptr);
    ASSERT_NE(notes, nullptr);
    const QColor face = dialog.palette().color(QPalette::Window);
    for (QWidget* field : {static_cast<QWidget*>(fixed), notes}) {
        EXPECT_EQ(field->focusPolicy(), Qt::ClickFocus) << field->objectName().toStdString();
        EXPECT_EQ(field->palette().color(QPalette::Base), face);
    }
    EXPECT_TRUE(fixed->isReadOnly());
    EXPECT_EQ(nextDlgTabItem(&dialog, nullptr), typed) << "Tab passes the read-only fields by";
    EXPECT_EQ(typed->focusPolicy(), Qt::StrongFocus);
    EXPECT_NE(typed->palette().color(QPalette::Base), face);

    // What the screen shows inside the field, right of its text.
    dialog.show();
    const QImage picture = fixed->grab().toImage();
    EXPECT_EQ(picture.pixelColor(picture.width() - 4, picture.height() / 2), face);
    const QImage typedPicture = typed->grab().toImage();
    EXPECT_EQ(typedPicture.pixelColor(typedPicture.width() - 4, typedPicture.height() / 2),
              typed->palette().color(QPalette::Base));
}

// A field whose read-only state changes after the dialog is built looks as
// one built that way: locked, it has the dialog's colour in every state of
// the window; unlocked again, the white of its typing neighbour.
TEST(DialogBuilder, FieldsLockedOrUnlockedLaterFollowTheirState)
{
    using platform::DialogTable;
    DialogTable table { 1, "Fields", WS_POPUP | DS_SETFONT, 0, 0, 120, 76, "DejaVu Sans", 8,
                        { { 10, "Edit", "fixed", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY,
                            4, 4, 100, 12 },
                          { 11, "Edit", "typed", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 4, 20, 100, 12 },
                          { 12, "Edit", "later", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 4, 36, 100, 12 },
                          { 13, "Edit", "notes", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_MULTILINE, 4, 52, 100, 20 } } };
    auto bytes = encodeDialogTemplate(table);
    Dialog dialog;
    ASSERT_TRUE(dialog.createIndirect(bytes.data(), bytes.size(), nullptr));
    auto* fixed = dynamic_cast<QLineEdit*>(dlgItem(&dialog, 10));
    auto* typed = dynamic_cast<QLineEdit*>(dlgItem(&dialog, 11));
    auto* later = dynamic_cast<QLineEdit*>(dlgItem(&dialog, 12));
    auto* notes = dynamic_cast<QPlainTextEdit*>(dlgItem(&dialog, 13));
    ASSERT_TRUE(fixed && typed && later && notes);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    const auto bases = [](const QWidget* field) {
        std::vector<QColor> colours;
        for (auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
            colours.push_back(field->palette().color(group, QPalette::Base));
        return colours;
    };
    // What the screen shows inside the field, right of its text.
    const auto shown = [](QWidget* field) {
        const QImage picture = field->grab().toImage();
        return picture.pixelColor(picture.width() - 4, picture.height() / 2);
    };
    const QColor face = dialog.palette().color(QPalette::Window);
    ASSERT_NE(shown(typed), face);

    later->setReadOnly(true);
    notes->setReadOnly(true);
    for (QWidget* field : { static_cast<QWidget*>(later), static_cast<QWidget*>(notes) }) {
        EXPECT_EQ(bases(field), bases(fixed));
        EXPECT_EQ(shown(field), shown(fixed));
    }
    EXPECT_EQ(shown(later), face);

    later->setReadOnly(false);
    notes->setReadOnly(false);
    for (QWidget* field : { static_cast<QWidget*>(later), static_cast<QWidget*>(notes) })
        EXPECT_EQ(bases(field), bases(typed));
    EXPECT_EQ(shown(later), shown(typed));
}

} // namespace
