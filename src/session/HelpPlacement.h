#pragma once
// Where the help window goes on the screen: inside the area windows may use
// (the screen less its panels), beside the window it was asked from where
// there is room, so that the user can read the help and go on in that window.
// Rectangles are outer frames, title bar included, in screen pixels.

namespace helpplacement {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }   // first column past it
    int bottom() const { return y + height; } // first row past it
    bool operator==(const Rect&) const = default;
};

// Narrower than this, the help's pages are hard to read: the help then
// overlaps the window it was asked from rather than squeezing in beside it.
constexpr int minimumWidth = 400;

// The help's frame of `width` x `height` (shrunk to fit `area`), beside
// `owner` on its right, else on its left, else in the wider of the two
// rooms narrowed to it, else against the screen's edge on that side
// (covering as little of `owner` as it can). Its top is level with the
// owner's where that leaves it wholly on the screen.
Rect place(const Rect& owner, int width, int height, const Rect& area);

} // namespace helpplacement
