#pragma once
// Word wrap: a text broken into measured words, laid out in lines of a given
// width and drawn left-aligned, centred or right-aligned.
#include "platform/WinTypes.h"

#include <string>
#include <vector>

// Where words are measured and drawn: narrow text in the ANSI code page in the
// device's current font. Drawing places a text's top-left corner at (x, y).
class TextDevice {
public:
    virtual ~TextDevice() = default;
    // Height of a line of the current font (ascent plus descent).
    virtual int lineHeight() = 0;
    virtual SIZE textExtent(const std::string& text) = 0;
    virtual void textOut(int x, int y, const std::string& text) = 0;
};

class TextBlock {
public:
    struct Word {
        std::wstring text;
        int width = 0;
        int height = 0;
        int breakAfter = 0; // 0 the next word follows directly, 1 a line break, 2 a blank
    };

    // Splits the text into words measured with the device's current font.
    // Blanks separate words, "\n" breaks the line, a word may break after a
    // hyphen; in Chinese, Japanese and Korean any character other than an
    // ASCII letter or digit may end a line.
    TextBlock(TextDevice& device, const std::wstring& text);

    // Draws the words in lines of `width` from (x, y); alignment 0 left,
    // 1 centred, 2 right. Returns the widest line and the total height.
    SIZE draw(TextDevice& device, int width, int x, int y, int alignment);

    // The layout pass behind draw; without a device it only measures. With
    // `collectLineWidths` it appends each line's width to `lineWidths`;
    // centring and right alignment read the widths a measuring pass collected.
    SIZE layout(TextDevice* device, int width, int x, int y, int alignment, bool collectLineWidths,
        std::vector<int>& lineWidths) const;

    // Whether the user-interface language is one that breaks lines only at
    // blanks and hyphens (not Chinese, Japanese or Korean). The translation
    // layer installs its answer; until it does, every language is.
    using NonCjkQuery = bool (*)();
    static void setNonCjkQuery(NonCjkQuery query);

    int lineHeight = 0;
    int spaceWidth = 0;
    std::vector<Word> words;
};
