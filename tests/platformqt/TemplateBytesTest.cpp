#include "platform/DialogTemplate.h"
#include "platform/MenuTemplate.h"
#include "platform/Resources.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

WORD wordAt(const std::vector<unsigned char>& bytes, std::size_t at) { return WORD(bytes[at] | bytes[at + 1] << 8); }
DWORD dwordAt(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return wordAt(bytes, at) | DWORD(wordAt(bytes, at + 2)) << 16;
}

DialogTable twoControls()
{
    return DialogTable {
        7, "¤Title", DS_SETFONT | WS_POPUP | WS_CAPTION, 1, 2, 100, 50, "DejaVu Sans", 9,
        {
            { 1, "Button", "¤OK", WS_VISIBLE | BS_DEFPUSHBUTTON, 5, 6, 40, 14 },
            { 1000, "TavoReportCtrl", "x", WS_VISIBLE, 5, 22, 90, 20, WS_EX_CLIENTEDGE },
        },
    };
}

TEST(DialogTemplateBytes, ExtendedHeaderFieldsSitWhereTheLayoutSays)
{
    auto bytes = encodeDialogTemplate(twoControls());
    EXPECT_EQ(wordAt(bytes, 0), 1);
    EXPECT_EQ(wordAt(bytes, 2), 0xFFFF);
    EXPECT_EQ(dwordAt(bytes, 12), DS_SETFONT | WS_POPUP | WS_CAPTION);
    EXPECT_EQ(wordAt(bytes, 16), 2);
    EXPECT_EQ(wordAt(bytes, 18), 1);
    EXPECT_EQ(wordAt(bytes, 20), 2);
    EXPECT_EQ(wordAt(bytes, 22), 100);
    EXPECT_EQ(wordAt(bytes, 24), 50);
    // No menu, default class, then the caption in UTF-16 with the marker U+00A4.
    EXPECT_EQ(wordAt(bytes, 26), 0);
    EXPECT_EQ(wordAt(bytes, 28), 0);
    EXPECT_EQ(wordAt(bytes, 30), 0x00A4);
    EXPECT_EQ(wordAt(bytes, 32), 'T');
    // After "¤Title" and its NUL: point size, weight, italic, charset, face.
    std::size_t font = 30 + 7 * 2;
    EXPECT_EQ(wordAt(bytes, font), 9);
    EXPECT_EQ(wordAt(bytes, font + 2), 400);
    EXPECT_EQ(bytes[font + 5], DEFAULT_CHARSET);
    EXPECT_EQ(wordAt(bytes, font + 6), 'D');
}

TEST(DialogTemplateBytes, TablesReadBackWithAlignedItemsAndClassOrdinals)
{
    auto bytes = encodeDialogTemplate(twoControls());
    auto parsed = parseDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->extended);
    EXPECT_EQ(utf16ToUtf8(parsed->caption), "¤Title");
    EXPECT_EQ(utf16ToUtf8(parsed->face), "DejaVu Sans");
    EXPECT_EQ(parsed->pointSize, 9);
    ASSERT_EQ(parsed->controls.size(), 2u);

    const auto& ok = parsed->controls[0];
    EXPECT_TRUE(ok.windowClass.isOrdinal);
    EXPECT_EQ(ok.windowClass.ordinal, 0x80);
    EXPECT_EQ(controlClassName(ok.windowClass), "Button");
    EXPECT_EQ(ok.style, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON);
    EXPECT_EQ(utf16ToUtf8(ok.text.text), "¤OK");
    EXPECT_EQ(ok.x, 5);
    EXPECT_EQ(ok.cy, 14);

    const auto& custom = parsed->controls[1];
    EXPECT_EQ(controlClassName(custom.windowClass), "TavoReportCtrl");
    EXPECT_EQ(custom.id, 1000u);
    EXPECT_EQ(custom.exStyle, WS_EX_CLIENTEDGE);

    // Every item starts on a 4-byte boundary: the first one right after the padded face name.
    std::size_t faceEnd = 30 + 7 * 2 + 6 + 12 * 2;
    std::size_t firstItem = (faceEnd + 3) & ~std::size_t(3);
    EXPECT_EQ(dwordAt(bytes, firstItem + 8), WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON);
}

TEST(DialogTemplateBytes, PlainLayoutIsReadToo)
{
    // style, exstyle, count 1, x y cx cy, no menu, no class, caption "A", no font;
    // item: style, exstyle, x y cx cy, id 5, class ordinal Static, text "B", no data.
    std::vector<unsigned char> bytes = {
        0x00, 0x00, 0xC0, 0x80, 0, 0, 0, 0, 1, 0, 1, 0, 2, 0, 30, 0, 20, 0,
        0, 0, 0, 0, 'A', 0, 0, 0, 0, 0, // padded to the item's 4-byte boundary
        0x00, 0x00, 0x00, 0x50, 0, 0, 0, 0, 3, 0, 4, 0, 10, 0, 8, 0, 5, 0,
        0xFF, 0xFF, 0x82, 0x00, 'B', 0, 0, 0, 0, 0,
    };
    auto parsed = parseDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->extended);
    EXPECT_EQ(parsed->style, WS_POPUP | WS_CAPTION);
    EXPECT_EQ(parsed->cx, 30);
    EXPECT_FALSE(parsed->hasFont);
    ASSERT_EQ(parsed->controls.size(), 1u);
    EXPECT_EQ(parsed->controls[0].id, 5u);
    EXPECT_EQ(controlClassName(parsed->controls[0].windowClass), "Static");
    EXPECT_EQ(utf16ToUtf8(parsed->controls[0].text.text), "B");
}

TEST(DialogTemplateBytes, TruncatedTemplatesAreRefusedAtEveryLength)
{
    auto bytes = encodeDialogTemplate(twoControls());
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(parseDialogTemplate(bytes.data(), size)) << size;
    EXPECT_TRUE(parseDialogTemplate(bytes.data(), bytes.size()));
    EXPECT_FALSE(parseDialogTemplate(nullptr, 10));
}

TEST(DialogTemplateBytes, TextsCrossTheUtf16BorderIntact)
{
    std::string text = "¤Größe 😀";
    auto units = utf8ToUtf16(text);
    EXPECT_EQ(units.size(), 9u); // the emoji is a surrogate pair
    EXPECT_EQ(utf16ToUtf8(units), text);
    std::wstring wide = utf16ToWide(units);
    EXPECT_EQ(wide.size(), 8u);
    EXPECT_EQ(wide[7], L'\U0001F600');
    EXPECT_EQ(wideToUtf16(wide), units);
    // Malformed UTF-8 becomes one replacement character per bad byte.
    EXPECT_EQ(utf8ToUtf16("a\xC0z"), u"a\uFFFDz");
}

TEST(DialogTemplateBytes, SampleDialogIsRegisteredAsDialogResource)
{
    res::registerResources();
    Resource sample = findResource(RT_DIALOG, IDD_SAMPLE);
    ASSERT_NE(sample.data, nullptr);
    auto parsed = parseDialogTemplate(sample.data, sample.size);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(utf16ToUtf8(parsed->caption), "¤Sample settings");
    EXPECT_GE(parsed->controls.size(), 10u);
}

std::vector<unsigned char> menuBytes(std::initializer_list<WORD> words)
{
    std::vector<unsigned char> bytes;
    for (WORD w : words) {
        bytes.push_back(static_cast<unsigned char>(w & 0xFF));
        bytes.push_back(static_cast<unsigned char>(w >> 8));
    }
    return bytes;
}

TEST(MenuTemplateBytes, NestedPopupsCommandsAndSeparators)
{
    // &F { Open (1) ; separator ; S { X (3) } } then H (9) last at the top.
    auto bytes = menuBytes({ 0, 0,
                             MF_POPUP, 'F', 0,
                             0, 1, 'O', 0,
                             0, 0, 0,
                             MF_POPUP | MF_END, 'S', 0,
                             MF_END, 3, 'X', 0,
                             MF_END, 9, 'H', 0 });
    auto items = parseMenuTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 2u);
    const auto& file = (*items)[0];
    EXPECT_TRUE(file.isPopup());
    ASSERT_EQ(file.items.size(), 3u);
    EXPECT_EQ(file.items[0].id, 1);
    EXPECT_TRUE(file.items[1].isSeparator());
    ASSERT_EQ(file.items[2].items.size(), 1u);
    EXPECT_EQ(file.items[2].items[0].id, 3);
    EXPECT_EQ((*items)[1].id, 9);
    EXPECT_EQ((*items)[1].text, u"H");
}

TEST(MenuTemplateBytes, UnclosedLevelsAndTruncationAreRefused)
{
    auto open = menuBytes({ 0, 0, MF_POPUP | MF_END, 'F', 0, 0, 1, 'O', 0 });
    EXPECT_FALSE(parseMenuTemplate(open.data(), open.size()));
    auto whole = menuBytes({ 0, 0, MF_END, 1, 'O', 0 });
    for (std::size_t size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(parseMenuTemplate(whole.data(), size)) << size;
    EXPECT_TRUE(parseMenuTemplate(whole.data(), whole.size()));
    // Popups nested without end are refused before they exhaust the stack.
    std::vector<WORD> deep = { 0, 0 };
    for (int i = 0; i < 100000; ++i) {
        deep.push_back(MF_POPUP);
        deep.push_back(0);
    }
    std::vector<unsigned char> deepBytes;
    for (WORD w : deep) {
        deepBytes.push_back(static_cast<unsigned char>(w & 0xFF));
        deepBytes.push_back(static_cast<unsigned char>(w >> 8));
    }
    EXPECT_FALSE(parseMenuTemplate(deepBytes.data(), deepBytes.size()));
}

} // namespace
