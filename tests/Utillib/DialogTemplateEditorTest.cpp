#include "Utillib/DialogTemplateEditor.h"
#include "platform/DialogTemplate.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

using platform::DialogTable;

DialogTable table(DWORD style)
{
    return DialogTable { 77, "Caption", style | WS_POPUP | WS_CAPTION, 3, 4, 120, 60, "DejaVu Sans", 8,
                         { { 1, "Button", "OK", WS_VISIBLE | WS_TABSTOP, 5, 5, 40, 14 },
                           { 1001, "Edit", "text", WS_VISIBLE | WS_BORDER, 5, 25, 100, 12 },
                           { 1002, "Static", "¤Label", WS_VISIBLE, 5, 40, 100, 8 } } };
}

DialogTemplateEditor editorFor(const DialogTable& t)
{
    auto bytes = platform::encodeDialogTemplate(t);
    DialogTemplateEditor editor;
    editor.load(bytes.data(), bytes.size());
    return editor;
}

// The controls as the template holds them, to see that they survive header changes.
std::vector<std::tuple<DWORD, DWORD, std::string, std::u16string, short, short>> controlsOf(const DialogTemplateEditor& e)
{
    auto parsed = platform::parseDialogTemplate(e.data(), e.size());
    std::vector<std::tuple<DWORD, DWORD, std::string, std::u16string, short, short>> out;
    if (parsed)
        for (const auto& c : parsed->controls)
            out.emplace_back(c.id, c.style, platform::controlClassName(c.windowClass), c.text.text, c.x, c.cy);
    return out;
}

TEST(DialogTemplateEditor, HeaderFieldsOfBothLayouts)
{
    DialogTemplateEditor editor = editorFor(table(DS_SETFONT));
    EXPECT_TRUE(editor.isExtended());
    EXPECT_EQ(editor.getStyle(), DS_SETFONT | WS_POPUP | WS_CAPTION);
    EXPECT_EQ(editor.getSize().cx, 120);
    EXPECT_EQ(editor.getPosition().y, 4);
    EXPECT_EQ(editor.getCaption(), L"Caption");
    EXPECT_EQ(editor.getFont().face, "DejaVu Sans");
    EXPECT_EQ(editor.getFont().pointSize, 8);
    EXPECT_TRUE(editor.setSize(200, 90));
    EXPECT_TRUE(editor.setPosition(-5, 7));
    EXPECT_EQ(editor.getSize().cy, 90);
    EXPECT_EQ(editor.getPosition().x, -5);

    // A plain template: style, ex style, 1 item, x y cx cy, no menu or class, caption "A".
    std::vector<unsigned char> plain = { 0, 0, 0xC0, 0x80, 0, 0, 0, 0, 1, 0, 1, 0, 2, 0, 30, 0, 20, 0,
                                         0, 0, 0, 0, 'A', 0, 0, 0, 0, 0,
                                         0, 0, 0, 0x50, 0, 0, 0, 0, 3, 0, 4, 0, 10, 0, 8, 0, 5, 0,
                                         0xFF, 0xFF, 0x82, 0, 'B', 0, 0, 0, 0, 0 };
    DialogTemplateEditor old;
    ASSERT_TRUE(old.load(plain.data(), plain.size()));
    EXPECT_FALSE(old.isExtended());
    EXPECT_EQ(old.getStyle(), WS_POPUP | WS_CAPTION);
    EXPECT_EQ(old.getSize().cx, 30);
    EXPECT_EQ(old.getFont().pointSize, -1);
    EXPECT_EQ(old.getFont().face, "");
    // A font block added to a plain template has no weight, italic or character set.
    ASSERT_TRUE(old.setFont("DejaVu Sans", 9));
    EXPECT_EQ(old.fontBlockSize(), 2u + 12 * 2);
    auto parsed = platform::parseDialogTemplate(old.data(), old.size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->pointSize, 9);
    ASSERT_EQ(parsed->controls.size(), 1u);
    EXPECT_EQ(parsed->controls[0].id, 5u);
    EXPECT_EQ(parsed->controls[0].text.text, u"B");
}

TEST(DialogTemplateEditor, CaptionGrowsBy256UnitsButNot257)
{
    for (DWORD style : { DWORD(0), DS_SETFONT }) {
        DialogTemplateEditor editor = editorFor(table(style));
        auto controls = controlsOf(editor);
        std::wstring longer = L"Caption" + std::wstring(256, L'x');
        EXPECT_FALSE(editor.setCaption(longer + L"y"));
        EXPECT_EQ(editor.getCaption(), L"Caption");
        EXPECT_TRUE(editor.setCaption(longer));
        EXPECT_EQ(editor.getCaption(), longer);
        EXPECT_EQ(controlsOf(editor), controls);
        EXPECT_EQ(editor.getFont().face, style ? "DejaVu Sans" : "");
        // Growing again and again stays inside the block (each step within the limit).
        for (int i = 0; i < 4; ++i) {
            longer += std::wstring(256, L'z');
            ASSERT_TRUE(editor.setCaption(longer));
        }
        EXPECT_EQ(controlsOf(editor), controls);
        // Shrinking moves the controls back; the caption may hold any character.
        EXPECT_TRUE(editor.setCaption(L"¤Größe"));
        EXPECT_EQ(editor.getCaption(), L"¤Größe");
        EXPECT_EQ(controlsOf(editor), controls);
        EXPECT_EQ(editor.size(), platform::encodeDialogTemplate([&] {
                                     auto t = table(style);
                                     t.caption = "¤Größe";
                                     return t;
                                 }()).size());
    }
}

TEST(DialogTemplateEditor, FontSizeNeedsAFontAndChangesNothingWithout)
{
    DialogTemplateEditor without = editorFor(table(0));
    std::vector<unsigned char> before(without.data(), without.data() + without.size());
    EXPECT_FALSE(without.setFontSize(7));
    EXPECT_EQ(std::vector<unsigned char>(without.data(), without.data() + without.size()), before);

    DialogTemplateEditor with = editorFor(table(DS_SETFONT));
    EXPECT_TRUE(with.setFontSize(7));
    EXPECT_EQ(with.getFont().pointSize, 7);
}

TEST(DialogTemplateEditor, FaceIsCutTo31Units)
{
    DialogTemplateEditor editor = editorFor(table(DS_SETFONT));
    ASSERT_TRUE(editor.setFont(std::string(40, 'F'), 8));
    EXPECT_EQ(editor.getFont().face, std::string(31, 'F'));
}

TEST(DialogTemplateEditor, EmptyEditorForAMissingResource)
{
    DialogTemplateEditor editor(424242);
    EXPECT_TRUE(editor.isEmpty());
    EXPECT_EQ(editor.data(), nullptr);
    EXPECT_EQ(editor.getSize().cx, -1);
    EXPECT_EQ(editor.getSize().cy, -1);
    EXPECT_EQ(editor.getPosition().x, -1);
    EXPECT_EQ(editor.getBaseUnits().cx, -1);
    EXPECT_EQ(editor.toPixels(4, 8).x, -1);
    EXPECT_EQ(editor.getCaption(), L"");
    EXPECT_EQ(editor.getStyle(), 0u);
    EXPECT_FALSE(editor.setCaption(L"x"));
    EXPECT_FALSE(editor.setFont("DejaVu Sans", 8));
    EXPECT_FALSE(editor.setFontSize(8));
    EXPECT_FALSE(editor.setStyle(0));
    EXPECT_FALSE(editor.setSize(1, 1));
    platform::Dialog dialog;
    EXPECT_FALSE(dialog.createIndirect(editor.data(), editor.size()));
    EXPECT_TRUE(platform::childWindows(&dialog).empty());
}

TEST(DialogTemplateEditor, CopiesAreIndependent)
{
    DialogTemplateEditor original = editorFor(table(DS_SETFONT));
    DialogTemplateEditor copy(original);
    copy.setCaption(L"Other");
    EXPECT_EQ(original.getCaption(), L"Caption");
    original = copy;
    EXPECT_EQ(original.getCaption(), L"Other");
    original = original;
    EXPECT_EQ(original.getCaption(), L"Other");
    EXPECT_NE(original.data(), copy.data());
}

TEST(DialogTemplateEditor, SmallerFontKeepsEveryControlOfTheBuiltDialog)
{
    res::registerResources();
    DialogTemplateEditor editor(IDD_SAMPLE);
    ASSERT_FALSE(editor.isEmpty());
    platform::Dialog before;
    ASSERT_TRUE(before.createIndirect(editor.data(), editor.size()));

    ASSERT_TRUE(editor.setFont("Small Fonts", 7));
    EXPECT_EQ(editor.getFont().face, "Small Fonts");
    platform::Dialog after;
    ASSERT_TRUE(after.createIndirect(editor.data(), editor.size())) << after.buildError();
    EXPECT_EQ(after.font().family(), "Small Fonts");
    EXPECT_EQ(after.font().pixelSize(), 9); // 7 points at 96 dpi
    auto a = platform::childWindows(&before);
    auto b = platform::childWindows(&after);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(platform::controlId(a[i]), platform::controlId(b[i]));
        EXPECT_EQ(platform::windowClassName(a[i]), platform::windowClassName(b[i]));
        EXPECT_EQ(platform::windowText(a[i]), platform::windowText(b[i]));
        EXPECT_EQ(platform::windowStyle(a[i]), platform::windowStyle(b[i]));
    }
}

TEST(DialogTemplateEditor, PixelsAndDialogUnitsRoundTrip)
{
    res::registerResources();
    DialogTemplateEditor editor(IDD_SAMPLE);
    SIZE units = editor.getBaseUnits();
    EXPECT_EQ(units.cx, 7);
    EXPECT_EQ(units.cy, 13);
    POINT pixels = editor.toPixels(250, 156);
    EXPECT_EQ(pixels.x, 438);
    EXPECT_EQ(pixels.y, 254);
    for (int x : { 0, 1, 3, 7, 50, 193, 999 }) {
        POINT there = editor.toPixels(x, x);
        POINT back = editor.toDialogUnits(there.x, there.y);
        // Within the rounding of one pixel.
        EXPECT_NEAR(back.x, x, 4.0 / units.cx) << x;
        EXPECT_NEAR(back.y, x, 8.0 / units.cy) << x;
    }
    DialogTemplateEditor systemFont = editorFor(table(0));
    SIZE system = systemFont.getBaseUnits();
    EXPECT_GT(system.cx, 0);
    EXPECT_GT(system.cy, 0);
}

} // namespace
