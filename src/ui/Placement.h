#pragma once
// Placement of single windows and of sets of windows, in their parent's
// client coordinates unless said otherwise.
#include "ui/WindowLayer.h"

#include <vector>

// The window's rectangle, frame included, in its parent's client coordinates
// (on the screen for a top-level window).
RECT getWindowRectInParent(WindowHandle window);

// Where a rectangle of the size of `moved` goes beside `reference`:
// 0 left of it, 1 right, 2 above, 3 below, each keeping its own top or left;
// 4 left and 5 right of it centred vertically; 6 above and 7 below centred
// horizontally; 8 right of it with the tops aligned; any other type (0, 0).
POINT placeNextTo(const RECT& moved, const RECT& reference, unsigned type, int gap);
void moveWindowNextTo(WindowHandle window, const RECT& reference, unsigned type, int gap);

// The union of the child windows' screen rectangles, (-1, 0, -2, 0) without any.
RECT childWindowsBounds(WindowHandle window);
void fitWindowToChildren(WindowHandle window, const RECT& border);
void growWindowToChildren(WindowHandle window, const RECT& border);
void setWindowWidth(WindowHandle window, int width);
void setWindowHeight(WindowHandle window, int height);
void centreWindowBetween(WindowHandle window, int left, int right);
void centreWindowInParent(WindowHandle window);
SIZE screenSize();
// The offset that brings `moved` inside `bounds`.
POINT shiftToInside(const RECT& moved, const RECT& bounds);
// Moves the window by that offset; bounds in screen coordinates.
void keepWindowInside(WindowHandle window, const RECT& bounds);

// Window > Tile: where each of `count` windows goes in the area. The windows
// fill rows from the top, in their order, side by side. The columns are as
// many as the square root of the count, rounded up, unless the windows'
// smallest sizes do not fit so; then the nearest number of columns with which
// they fit, and only when none does, the first one. In a row the windows
// share the width and the rows share the height evenly, each window between
// its minimum and maximum size: a window that needs more takes it from the
// others, one that stops short leaves the rest to them. Where the smallest
// sizes cannot fit, a window slides left and up to stay in the area (not
// past its top-left corner). The area never grows.
struct TileWindow {
    SIZE minimum{0, 0};
    SIZE maximum{100000, 100000};
};
std::vector<RECT> tileWindows(const std::vector<TileWindow>& windows, const RECT& area);

// Window > Cascade: the windows in their order from back to front, each
// `step` pixels right of and below the one behind it, so that every title
// shows. A window that can grow takes the area less the room of the steps;
// one of a fixed size keeps it. Each stays between its minimum and maximum
// size and inside the area where it fits.
std::vector<RECT> cascadeWindows(const std::vector<TileWindow>& windows, const RECT& area, int step);

// Windows moved, sized, shown and enabled together.
class WindowSet {
public:
    void add(WindowHandle window, const RECT& rect);
    // Measured in its parent.
    void add(WindowHandle window);
    void remove(WindowHandle window);
    // Moves the frame around the set's bounds and adds it.
    void wrapAround(WindowHandle frame, int left, int top, int right, int bottom);
    RECT getBounds() const { return bounds; }
    void moveTo(int x, int y);
    void moveBy(int dx, int dy);
    void centreBetween(int left, int right);
    void centreInParent();
    void placeNextTo(const RECT& reference, unsigned type, int gap);
    void setWidth(int width);
    void setHeight(int height);
    void setSize(int width, int height);
    // SW_HIDE (0) hides, every other command shows.
    void showAll(int showCommand);
    void enableAll(bool enabled);

    bool repaint = true;
    WindowHandle parent = nullptr;
    std::vector<WindowHandle> windows;
    RECT bounds{-1, 0, -2, 0};

private:
    bool isEmpty() const;
    void grow(const RECT& r);
    void resizeAll(const int* width, const int* height);
};
