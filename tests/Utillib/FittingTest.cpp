#include "Utillib/DialogTemplateEditor.h"
#include "Utillib/WindowUtil.h"
#include "platform/DialogTemplate.h"
#include "platform/Resources.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"

#include <QFontMetrics>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

using platform::DialogTable;

constexpr int margins = 4242;
constexpr int tall = 4243;
constexpr int small = 4244;

DialogTable marginsTable()
{
    return DialogTable { margins, "m", WS_POPUP | DS_SETFONT, 0, 0, 200, 200, "DejaVu Sans", 8,
                         {
                             { 1, "Button", "owner", WS_VISIBLE | BS_OWNERDRAW, 0, 0, 50, 10 },
                             { 2, "Button", "group", WS_VISIBLE | BS_GROUPBOX, 0, 0, 50, 10 },
                             { 3, "Button", "check", WS_VISIBLE | BS_AUTOCHECKBOX | BS_MULTILINE, 0, 0, 50, 10 },
                             { 4, "Button", "radio", WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 0, 50, 10 },
                             { 5, "Button", "like", WS_VISIBLE | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 0, 50, 10 },
                             { 6, "Button", "push", WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 0, 50, 10 },
                             { 7, "Static", "label", WS_VISIBLE | SS_RIGHT, 0, 0, 50, 10 },
                             { 8, "Static", "", WS_VISIBLE | SS_BLACKFRAME, 0, 0, 50, 10 },
                             { 9, "Edit", "", WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 50, 10 },
                             { 10, "Edit", "", WS_VISIBLE | ES_MULTILINE, 0, 0, 50, 10 },
                             { 11, "ListBox", "", WS_VISIBLE, 0, 0, 50, 10 },
                         } };
}

TEST(ControlMargins, ByClassAndStyle)
{
    platform::registerDialog(marginsTable());
    platform::Dialog dialog;
    ASSERT_TRUE(dialog.create(margins));
    struct Case {
        int id;
        int left, top, right, bottom;
        bool isText, multiline;
    } cases[] = {
        { 1, 0, 0, 0, 0, false, false }, { 2, 10, 0, 0, 2, true, false }, { 3, 19, 0, 0, 0, true, true },
        { 4, 19, 0, 0, 0, true, false }, { 5, 2, 2, 2, 2, true, false },  { 6, 2, 2, 2, 2, true, false },
        { 7, 1, 0, 0, 0, true, true },   { 8, 0, 0, 0, 0, true, false },  { 9, 0, 0, 0, 0, false, false },
        { 10, 0, 0, 0, 0, true, true },  { 11, 0, 0, 0, 0, false, false },
    };
    for (const auto& c : cases) {
        auto m = Utillib::controlMargins(platform::dlgItem(&dialog, c.id));
        EXPECT_EQ(std::vector<int>({ m.left, m.top, m.right, m.bottom }),
                  std::vector<int>({ c.left, c.top, c.right, c.bottom }))
            << c.id;
        EXPECT_EQ(m.isText, c.isText) << c.id;
        EXPECT_EQ(m.multiline, c.multiline) << c.id;
    }
    platform::unregisterResource(platform::RT_DIALOG, margins);
}

TEST(TextExtent, OneLineOrWrappedInAWidth)
{
    QLabel label;
    label.setFont(QFont("DejaVu Sans", 10));
    platform::setWindowText(&label, "well known fact");
    QFontMetrics metrics(label.font());
    SIZE line = Utillib::textExtent(&label, 0);
    EXPECT_EQ(line.cx, metrics.horizontalAdvance("well known fact") - 1);
    EXPECT_EQ(line.cy, metrics.height() - 1);
    SIZE wrapped = Utillib::textExtent(&label, metrics.horizontalAdvance("well known") + 1);
    EXPECT_EQ(wrapped.cx, metrics.horizontalAdvance("well known") - 1);
    EXPECT_EQ(wrapped.cy, 2 * metrics.height() - 1);

    // A multi-line static grows by the text laid out in its own width.
    platform::setWindowClassName(&label, "Static");
    platform::setWindowStyle(&label, WS_CHILD | WS_VISIBLE | SS_LEFT);
    label.resize(wrapped.cx + 1, 5);
    Utillib::fitWindowToText(&label);
    EXPECT_EQ(label.width(), wrapped.cx + 1 + 1 + wrapped.cx);
    EXPECT_EQ(label.height(), 5 + wrapped.cy);
}

DialogTable sized(int id, short cy)
{
    return DialogTable { id, "fitted", WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 0, 100, cy, "DejaVu Sans", 8,
                         { { 1, "Static", "x", WS_VISIBLE, 2, 2, 20, 8 } } };
}

TEST(CreateDialogFitted, SmallFontRuleForTemplatesTooLargeForTheWorkArea)
{
    RECT area = Utillib::workArea(nullptr);
    // 85% of the work area's height in dialog units of 13 pixels per 8.
    auto cy = static_cast<short>((area.bottom - area.top) * 85 / 100 * 8 / 13);
    platform::registerDialog(sized(tall, cy));
    platform::registerDialog(sized(small, 40));

    // Which font it gets depends on the character set and on "Small Fonts".
    struct Case {
        bool nonAnsi, smallFonts;
        const char* face;
        int points;
    } cases[] = { { true, false, "DejaVu Sans", 7 }, { true, true, "DejaVu Sans", 7 }, { false, true, "Small Fonts", 7 },
                  { false, false, "DejaVu Sans", 7 } };
    for (const auto& c : cases) {
        DialogTemplateEditor editor(tall);
        Utillib::applySmallFontRule(editor, c.nonAnsi, c.smallFonts);
        EXPECT_EQ(editor.getFont().face, c.face);
        EXPECT_EQ(editor.getFont().pointSize, c.points);
        platform::Dialog dialog;
        ASSERT_TRUE(dialog.createIndirect(editor.data(), editor.size()));
        EXPECT_EQ(dialog.font().family(), c.face);
        EXPECT_EQ(platform::childWindows(&dialog).size(), 1u);
    }

    // This machine's answer: a tall template gets the rule, a small one is left alone.
    platform::Dialog fitted;
    ASSERT_TRUE(Utillib::createDialogFitted(&fitted, tall, nullptr));
    EXPECT_FALSE(fitted.isVisible());
    DialogTemplateEditor expected(tall);
    Utillib::applySmallFont(expected);
    EXPECT_EQ(fitted.font().pixelSize(), MulDiv(expected.getFont().pointSize, 96, 72));
    platform::Dialog plain;
    ASSERT_TRUE(Utillib::createDialogFitted(&plain, small, nullptr));
    EXPECT_EQ(plain.font().pixelSize(), 11);
    platform::Dialog forced;
    ASSERT_TRUE(Utillib::createDialogSmallFont(&forced, small, nullptr));
    EXPECT_EQ(forced.font().pixelSize(), MulDiv(expected.getFont().pointSize, 96, 72));

    // A template without a font of its own gets the default face, small.
    platform::DialogTable fontless = sized(small + 10, 40);
    fontless.style &= ~DS_SETFONT;
    platform::registerDialog(fontless);
    DialogTemplateEditor noFont(small + 10);
    Utillib::applySmallFontRule(noFont, false, false);
    EXPECT_EQ(noFont.getFont().pointSize, 7);
    EXPECT_FALSE(noFont.getFont().face.empty());
    platform::unregisterResource(platform::RT_DIALOG, small + 10);

    platform::Dialog missing;
    EXPECT_FALSE(Utillib::createDialogFitted(&missing, 4299, nullptr));
    EXPECT_EQ(Utillib::doModalFitted(&missing, 4299, nullptr), IDCANCEL);
    platform::unregisterResource(platform::RT_DIALOG, tall);
    platform::unregisterResource(platform::RT_DIALOG, small);
}

TEST(CreateLikeControl, TakesThePlaceholdersPlace)
{
    QWidget parent;
    auto* placeholder = new QLabel(&parent);
    placeholder->setGeometry(5, 6, 70, 20);
    platform::setWindowStyle(placeholder, WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER);
    platform::setWindowExStyle(placeholder, WS_EX_CLIENTEDGE);
    auto* report = new QWidget;
    ASSERT_TRUE(Utillib::createLikeControl(placeholder, report, 1000));
    EXPECT_EQ(report->parentWidget(), &parent);
    EXPECT_EQ(report->geometry(), QRect(5, 6, 70, 20));
    EXPECT_EQ(platform::dlgItem(&parent, 1000), report);
    EXPECT_EQ(platform::windowStyle(report) & ~WS_TABSTOP, WS_CHILD | WS_VISIBLE | WS_BORDER);
    EXPECT_EQ(platform::windowExStyle(report), WS_EX_CLIENTEDGE);
    EXPECT_EQ(platform::windowText(report), "c");
}

} // namespace
