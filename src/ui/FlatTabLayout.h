#pragma once
// The geometry of a strip of flat tabs, apart from the window: how wide each
// tab is and where it sits, and how a text that is too long is shortened.
#include <QString>

#include <functional>
#include <vector>

// One tab's place on the strip, in pixels from the strip's left.
struct FlatTabPlace {
    int left = 0;
    int width = 0;
};

// The room a tab asks for: its text plus margins, an icon when it has one,
// never less than 11 pixels.
int flatTabNaturalWidth(int textWidth, bool hasIcon);

// Shares out the strip: `total` is 1 plus the sum of the natural widths the
// tabs hold, `available` the strip's width. Too wide: equal narrow tabs when
// they would be 32 pixels or less, else the widest loses up to 8 pixels at a
// time. Room to spare: the narrowest grows up to 8 pixels at a time towards
// the widest, keeping 10 pixels free. The lefts then follow from x = 1.
void layoutFlatTabs(std::vector<FlatTabPlace>& tabs, int total, int available);

// The text as it fits `room` pixels by `width`: one character less at a time
// followed by "...", and when only one would be left, characters (the dots
// too) cut off the end until it fits or nothing is left.
QString shortenTabText(const QString& text, int room, const std::function<int(const QString&)>& width);
