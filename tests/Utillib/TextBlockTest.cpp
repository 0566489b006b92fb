#include "Utillib/TextBlock.h"

#include "GuiApp.h"
#include "Utillib/QtTextDevice.h"
#include "platform/CodePage.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A fixed-width font: 10 pixels a byte, 5 for a blank, lines 12 high.
class FakeDevice : public TextDevice {
public:
    struct Out {
        int x;
        int y;
        std::string text;
        bool operator==(const Out&) const = default;
    };
    int lineHeight() override { return 12; }
    SIZE textExtent(const std::string& text) override
    {
        int width = 0;
        for (char c : text)
            width += c == ' ' ? 5 : 10;
        return SIZE { width, 12 };
    }
    void textOut(int x, int y, const std::string& text) override { drawn.push_back({ x, y, text }); }
    std::vector<Out> drawn;
};

struct Split {
    std::wstring word;
    int breakAfter;
};

std::vector<Split> splitOf(const std::wstring& text)
{
    FakeDevice device;
    TextBlock block(device, text);
    std::vector<Split> out;
    for (const auto& w : block.words)
        out.push_back({ w.text, w.breakAfter });
    return out;
}

std::wstring describe(const std::vector<Split>& split)
{
    std::wstring s;
    for (const Split& w : split)
        s += L"[" + w.word + L"|" + std::to_wstring(w.breakAfter) + L"]";
    return s;
}

bool notCjk() { return true; }
bool cjk() { return false; }

TEST(TextBlock, SplitsAtBlanksLineFeedsAndHyphens)
{
    TextBlock::setNonCjkQuery(&notCjk);
    struct Case {
        std::wstring text;
        std::wstring words;
    };
    const Case cases[] = {
        { L"one two", L"[one|2][two|0]" },
        { L"  lead   and  trail  ", L"[lead|2][and|2][trail|2]" },
        { L"well-known fact", L"[well-|0][known|2][fact|0]" },
        { L"x - y", L"[x|2][-|2][y|0]" },
        { L"-5 and up-", L"[-5|2][and|2][up-|0]" },
        { L"a\n\nb", L"[a|1][|1][b|0]" },
        { L"a\r\nb", L"[a\r|1][b|0]" },
        { L"caf\u00e9, ok.", L"[caf\u00e9,|2][ok.|0]" },
        { L"", L"" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(splitOf(c.text)), c.words);

    FakeDevice device;
    TextBlock block(device, L"ab\n\ncd");
    EXPECT_EQ(block.lineHeight, 12);
    EXPECT_EQ(block.spaceWidth, 5);
    EXPECT_EQ(block.words[0].width, 20);
    EXPECT_EQ(block.words[1].width, 0);
    EXPECT_EQ(block.words[1].height, 12); // an empty line keeps the height of a blank
}

TEST(TextBlock, InChineseJapaneseAndKoreanOnlyAsciiLettersAndDigitsJoin)
{
    TextBlock::setNonCjkQuery(&cjk);
    EXPECT_EQ(describe(splitOf(L"\u65e5\u672c\u8a9eabc\u3002x")),
        L"[\u65e5|0][\u672c|0][\u8a9e|0][abc\u3002|0][x|0]");
    EXPECT_EQ(describe(splitOf(L"\u00e9t\u00e9 well-done")), L"[\u00e9|0][t\u00e9|2][well-|0][done|0]");

    // Ideographs break between any two of them; the English word stays whole.
    ASSERT_TRUE(platform::setAnsiCodePage(932)); // two bytes an ideograph, so 20 pixels in the fake font
    FakeDevice device;
    TextBlock block(device, L"\u65e5\u672c\u8a9e\u306eEnglish \u3067\u3059");
    block.draw(device, 60, 0, 0, 0);
    std::vector<std::pair<int, int>> places;
    for (const auto& out : device.drawn)
        places.emplace_back(out.x, out.y);
    EXPECT_EQ(places, (std::vector<std::pair<int, int>> { { 0, 0 }, { 20, 0 }, { 40, 0 }, { 0, 12 }, { 0, 24 }, { 0, 36 }, { 20, 36 } }));
    ASSERT_EQ(device.drawn.size(), 7u);
    EXPECT_EQ(device.drawn[4].text, "English");
    ASSERT_TRUE(platform::setAnsiCodePage(1252));
    TextBlock::setNonCjkQuery(nullptr);
}

TEST(TextBlock, LinesBreakWhereTheNextWordDoesNotFit)
{
    TextBlock::setNonCjkQuery(nullptr);
    FakeDevice device;

    TextBlock oneTwo(device, L"one two");
    std::vector<int> widths;
    SIZE size = oneTwo.layout(nullptr, 35, 0, 0, 0, true, widths);
    EXPECT_EQ(size.cx, 30); // the blank after "one" is not part of its line
    EXPECT_EQ(size.cy, 24);
    EXPECT_EQ(widths, (std::vector<int> { 30, 30 }));
    widths.clear();
    size = oneTwo.layout(nullptr, 65, 0, 0, 0, true, widths);
    EXPECT_EQ(size.cx, 65);
    EXPECT_EQ(size.cy, 12);

    TextBlock hyphen(device, L"well-known fact");
    size = hyphen.draw(device, 60, 100, 200, 0);
    EXPECT_EQ(device.drawn, (std::vector<FakeDevice::Out> {
                                { 100, 200, "well-" }, { 100, 212, "known" }, { 100, 224, "fact" } }));
    EXPECT_EQ(size.cx, 50);
    EXPECT_EQ(size.cy, 36);

    device.drawn.clear();
    TextBlock lines(device, L"a\n\nb");
    size = lines.draw(device, 100, 0, 0, 0);
    EXPECT_EQ(device.drawn, (std::vector<FakeDevice::Out> { { 0, 0, "a" }, { 0, 24, "b" } }));
    EXPECT_EQ(size.cy, 36);

    // A word wider than the whole width still gets a line of its own.
    device.drawn.clear();
    TextBlock wide(device, L"a abcdefghijkl b");
    size = wide.draw(device, 50, 0, 0, 0);
    EXPECT_EQ(device.drawn, (std::vector<FakeDevice::Out> { { 0, 0, "a" }, { 0, 12, "abcdefghijkl" }, { 0, 24, "b" } }));
    EXPECT_EQ(size.cx, 120);
}

TEST(TextBlock, CentredAndRightAlignedLinesUseTheirMeasuredWidths)
{
    TextBlock::setNonCjkQuery(nullptr);
    FakeDevice device;
    TextBlock block(device, L"ab cdefghijkl");
    block.draw(device, 100, 10, 0, 1);
    block.draw(device, 100, 10, 0, 2);
    EXPECT_EQ(device.drawn, (std::vector<FakeDevice::Out> {
                                { 10 + (100 - 20) / 2, 0, "ab" },
                                { 10, 12, "cdefghijkl" }, // exactly as wide as the line
                                { 10 + 80, 0, "ab" },
                                { 10, 12, "cdefghijkl" },
                            }));
    device.drawn.clear();
    TextBlock over(device, L"abcdefghijkl");
    over.draw(device, 100, 10, 0, 1);
    over.draw(device, 100, 10, 0, 2);
    EXPECT_EQ(device.drawn, (std::vector<FakeDevice::Out> { { 10, 0, "abcdefghijkl" }, { -10, 0, "abcdefghijkl" } }));
}

TEST(TextBlock, EmptyTextDrawsNothing)
{
    TextBlock::setNonCjkQuery(nullptr);
    FakeDevice device;
    for (const wchar_t* text : { L"", L"   ", L"\n" }) {
        TextBlock block(device, text);
        SIZE size = block.draw(device, 100, 5, 5, 1);
        EXPECT_EQ(size.cx, 0);
        EXPECT_EQ(size.cy, 0);
    }
    EXPECT_TRUE(device.drawn.empty());
}

TEST(TextBlock, DrawsWithAQtFontFromTheTopLeftCorner)
{
    guiApp();
    TextBlock::setNonCjkQuery(nullptr);
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font("DejaVu Sans");
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(Qt::black);
    QtTextDevice device(painter);

    TextBlock block(device, L"Word wrap on screen");
    int lineHeight = device.lineHeight();
    EXPECT_GT(lineHeight, 14);
    EXPECT_LT(device.textExtent("Word").cx, device.textExtent("Word wrap").cx);
    SIZE size = block.draw(device, 90, 0, 10, 0);
    painter.end();
    EXPECT_LE(size.cx, 90);
    EXPECT_EQ(size.cy % lineHeight, 0);
    EXPECT_GE(size.cy, 2 * lineHeight);

    // Ink lies only within the block: below its top, above its bottom, left of its widest line.
    int top = image.height();
    int bottom = -1;
    int right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                right = std::max(right, x);
            }
    EXPECT_GE(top, 10);
    EXPECT_LT(top, 10 + lineHeight / 2);
    EXPECT_LT(bottom, 10 + size.cy);
    EXPECT_GE(bottom, 10 + size.cy - lineHeight);
    EXPECT_LE(right, size.cx + 1);
}

} // namespace
