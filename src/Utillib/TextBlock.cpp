#include "Utillib/TextBlock.h"

#include "Utillib/GString.h"

#include <algorithm>

namespace {

bool alwaysNonCjk() { return true; }

TextBlock::NonCjkQuery nonCjkQuery = &alwaysNonCjk;

bool isAsciiLetterOrDigit(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9');
}

} // namespace

void TextBlock::setNonCjkQuery(NonCjkQuery query) { nonCjkQuery = query ? query : &alwaysNonCjk; }

TextBlock::TextBlock(TextDevice& device, const std::wstring& text)
{
    lineHeight = device.lineHeight();
    SIZE blank = device.textExtent(" ");
    spaceWidth = blank.cx;
    const bool nonCjk = nonCjkQuery();

    auto addWord = [&](std::wstring wordText, int breakAfter) {
        Word word;
        word.text = std::move(wordText);
        if (word.text.empty()) {
            word.height = blank.cy;
        } else {
            SIZE extent = device.textExtent(GString::to_string(word.text));
            word.width = extent.cx;
            word.height = extent.cy;
        }
        word.breakAfter = breakAfter;
        words.push_back(std::move(word));
    };

    std::wstring current;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        int breakIfBlankFollows = (i + 1 < text.size() && text[i + 1] == L' ') ? 2 : 0;
        if (c == L' ') {
            if (inWord)
                addWord(current, 2);
            current.clear();
            inWord = false;
        } else if (c == L'\n') {
            addWord(inWord ? current : std::wstring(), 1);
            current.clear();
            inWord = false;
        } else if (c == L'-' && inWord) {
            addWord(current + c, breakIfBlankFollows);
            current.clear();
            inWord = false;
        } else if (c == L'-' || nonCjk || isAsciiLetterOrDigit(c)) {
            current += c;
            inWord = true;
        } else {
            addWord(current + c, breakIfBlankFollows);
            current.clear();
            inWord = false;
        }
    }
    if (inWord)
        addWord(current, 0);
}

SIZE TextBlock::layout(TextDevice* device, int width, int x, int y, int alignment, bool collectLineWidths,
    std::vector<int>& lineWidths) const
{
    int offset = 0;
    int top = 0;
    int lineWidth = 0;
    int widest = 0;
    std::size_t line = 0;
    bool breakPending = false;
    bool brokeLine = false;

    for (const Word& word : words) {
        if (breakPending || (offset != 0 && offset + word.width > width)) {
            if (collectLineWidths)
                lineWidths.push_back(lineWidth);
            top += lineHeight;
            offset = 0;
            lineWidth = 0;
            ++line;
            breakPending = false;
            brokeLine = true;
        }
        if (device && !word.text.empty()) {
            int wordX = x + offset;
            int recorded = line < lineWidths.size() ? lineWidths[line] : lineWidth;
            if (alignment == 2)
                wordX += width - recorded;
            else if (alignment == 1)
                wordX += std::max(0, width - recorded) / 2;
            device->textOut(wordX, y + top, GString::to_string(word.text));
        }
        offset += word.width;
        lineWidth = offset;
        widest = std::max(widest, offset);
        if (word.breakAfter == 2)
            offset += spaceWidth;
        else if (word.breakAfter == 1)
            breakPending = true;
    }
    if (collectLineWidths)
        lineWidths.push_back(lineWidth);
    if (widest == 0 && !brokeLine)
        return SIZE {};
    return SIZE { widest, top + lineHeight };
}

SIZE TextBlock::draw(TextDevice& device, int width, int x, int y, int alignment)
{
    std::vector<int> lineWidths;
    if (alignment == 1 || alignment == 2)
        layout(nullptr, width, x, y, alignment, true, lineWidths);
    return layout(&device, width, x, y, alignment, false, lineWidths);
}
