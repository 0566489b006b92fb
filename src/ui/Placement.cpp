#include "ui/Placement.h"

#include "ui/RectOps.h"

#include <algorithm>

namespace {

const RECT noWindows = ui::makeRect(-1, 0, -2, 0);

POINT point(LONG x, LONG y)
{
    POINT p;
    p.x = x;
    p.y = y;
    return p;
}

// The screen rectangle in the parent's client coordinates.
RECT screenToParent(WindowHandle window, const RECT& r)
{
    WindowLayer& layer = windowLayer();
    WindowHandle parent = layer.getParent(window);
    if (!parent)
        return r;
    const POINT origin = layer.clientOrigin(parent);
    return ui::offset(r, -origin.x, -origin.y);
}

void placeWindow(WindowHandle window, const RECT& r, bool repaint)
{
    windowLayer().moveWindow(window, r.left, r.top, ui::width(r), ui::height(r), repaint);
}

RECT grownBy(const RECT& r, const RECT& border)
{
    return ui::makeRect(r.left - border.left, r.top - border.top, r.right + border.right, r.bottom + border.bottom);
}

} // namespace

RECT getWindowRectInParent(WindowHandle window)
{
    return screenToParent(window, windowLayer().getWindowRect(window));
}

POINT placeNextTo(const RECT& moved, const RECT& reference, unsigned type, int gap)
{
    const int w = ui::width(moved);
    const int h = ui::height(moved);
    const int besideY = reference.top + (ui::height(reference) - h) / 2;
    const int besideX = reference.left + (ui::width(reference) - w) / 2;
    switch (type) {
    case 0: return point(reference.left - w - gap, moved.top);
    case 1: return point(reference.right + gap, moved.top);
    case 2: return point(moved.left, reference.top - h - gap);
    case 3: return point(moved.left, reference.bottom + gap);
    case 4: return point(reference.left - w - gap, besideY);
    case 5: return point(reference.right + gap, besideY);
    case 6: return point(besideX, reference.top - h - gap);
    case 7: return point(besideX, reference.bottom + gap);
    case 8: return point(reference.right + gap, reference.top);
    default: return point(0, 0);
    }
}

void moveWindowNextTo(WindowHandle window, const RECT& reference, unsigned type, int gap)
{
    const RECT r = getWindowRectInParent(window);
    const POINT p = placeNextTo(r, reference, type, gap);
    windowLayer().moveWindow(window, p.x, p.y, ui::width(r), ui::height(r), true);
}

RECT childWindowsBounds(WindowHandle window)
{
    WindowLayer& layer = windowLayer();
    RECT bounds = noWindows;
    bool first = true;
    for (WindowHandle child : layer.childWindows(window)) {
        const RECT r = layer.getWindowRect(child);
        bounds = first ? r : ui::unite(bounds, r);
        first = false;
    }
    return bounds;
}

void fitWindowToChildren(WindowHandle window, const RECT& border)
{
    RECT bounds = childWindowsBounds(window);
    if (ui::equal(bounds, noWindows))
        return;
    bounds = grownBy(screenToParent(window, bounds), border);
    windowLayer().moveWindow(window, 0, 0, ui::width(bounds), ui::height(bounds), true);
}

void growWindowToChildren(WindowHandle window, const RECT& border)
{
    const RECT children = childWindowsBounds(window);
    if (ui::equal(children, noWindows))
        return;
    const RECT own = windowLayer().getWindowRect(window);
    const RECT grown = ui::unite(own, grownBy(children, border));
    if (!ui::equal(grown, own))
        placeWindow(window, screenToParent(window, grown), true);
}

void setWindowWidth(WindowHandle window, int width)
{
    const RECT r = getWindowRectInParent(window);
    windowLayer().moveWindow(window, r.left, r.top, width, ui::height(r), true);
}

void setWindowHeight(WindowHandle window, int height)
{
    const RECT r = getWindowRectInParent(window);
    windowLayer().moveWindow(window, r.left, r.top, ui::width(r), height, true);
}

void centreWindowBetween(WindowHandle window, int left, int right)
{
    const RECT r = getWindowRectInParent(window);
    windowLayer().moveWindow(window, left + (right - left - ui::width(r)) / 2, r.top, ui::width(r), ui::height(r), true);
}

void centreWindowInParent(WindowHandle window)
{
    WindowLayer& layer = windowLayer();
    WindowHandle parent = layer.getParent(window);
    const int right = parent ? ui::width(layer.getClientRect(parent)) : screenSize().cx;
    centreWindowBetween(window, 0, right);
}

SIZE screenSize() { return windowLayer().primaryScreenSize(); }

POINT shiftToInside(const RECT& moved, const RECT& bounds)
{
    return point(std::min<LONG>(bounds.right - moved.right, 0) + std::max<LONG>(bounds.left - moved.left, 0),
                 std::min<LONG>(bounds.bottom - moved.bottom, 0) + std::max<LONG>(bounds.top - moved.top, 0));
}

void keepWindowInside(WindowHandle window, const RECT& bounds)
{
    const RECT r = windowLayer().getWindowRect(window);
    const POINT shift = shiftToInside(r, bounds);
    if (shift.x != 0 || shift.y != 0)
        placeWindow(window, screenToParent(window, ui::offset(r, shift.x, shift.y)), true);
}

// WindowSet

bool WindowSet::isEmpty() const { return ui::equal(bounds, noWindows); }

void WindowSet::grow(const RECT& r) { bounds = isEmpty() ? r : ui::unite(bounds, r); }

void WindowSet::add(WindowHandle window, const RECT& rect)
{
    windows.push_back(window);
    grow(rect);
}

void WindowSet::add(WindowHandle window)
{
    if (!parent)
        parent = windowLayer().getParent(window);
    add(window, getWindowRectInParent(window));
}

void WindowSet::remove(WindowHandle window)
{
    auto found = std::find(windows.begin(), windows.end(), window);
    if (found != windows.end())
        windows.erase(found);
}

void WindowSet::wrapAround(WindowHandle frame, int left, int top, int right, int bottom)
{
    const RECT r = ui::makeRect(bounds.left - left, bounds.top - top, bounds.right + right, bounds.bottom + bottom);
    placeWindow(frame, r, repaint);
    add(frame, r);
}

void WindowSet::moveTo(int x, int y)
{
    if (isEmpty())
        return;
    WindowLayer& layer = windowLayer();
    if (repaint && parent)
        layer.invalidateRect(parent, bounds, true);
    const int dx = x - bounds.left;
    const int dy = y - bounds.top;
    for (WindowHandle w : windows) {
        const RECT r = ui::offset(getWindowRectInParent(w), dx, dy);
        placeWindow(w, r, false);
    }
    bounds = ui::offset(bounds, dx, dy);
    if (repaint && parent)
        layer.invalidateRect(parent, bounds, true);
}

void WindowSet::moveBy(int dx, int dy) { moveTo(bounds.left + dx, bounds.top + dy); }

void WindowSet::centreBetween(int left, int right) { moveTo(left + (right - left - ui::width(bounds)) / 2, bounds.top); }

void WindowSet::centreInParent()
{
    const int right = parent ? ui::width(windowLayer().getClientRect(parent)) : screenSize().cx;
    centreBetween(0, right);
}

void WindowSet::placeNextTo(const RECT& reference, unsigned type, int gap)
{
    const POINT p = ::placeNextTo(bounds, reference, type, gap);
    moveTo(p.x, p.y);
}

void WindowSet::resizeAll(const int* width, const int* height)
{
    bounds = noWindows;
    for (WindowHandle w : windows) {
        const RECT r = getWindowRectInParent(w);
        windowLayer().moveWindow(w, r.left, r.top, width ? *width : ui::width(r), height ? *height : ui::height(r),
                                 repaint);
        grow(getWindowRectInParent(w));
    }
}

void WindowSet::setWidth(int width) { resizeAll(&width, nullptr); }
void WindowSet::setHeight(int height) { resizeAll(nullptr, &height); }
void WindowSet::setSize(int width, int height) { resizeAll(&width, &height); }

void WindowSet::showAll(int showCommand)
{
    for (WindowHandle w : windows)
        windowLayer().showWindow(w, showCommand != 0);
}

void WindowSet::enableAll(bool enabled)
{
    for (WindowHandle w : windows)
        windowLayer().enableWindow(w, enabled);
}

std::vector<RECT> tileWindows(const std::vector<TileWindow>& windows, const RECT& area)
{
    std::vector<RECT> tiles;
    const int count = static_cast<int>(windows.size());
    if (count == 0)
        return tiles;
    int columns = 1;
    while (columns * columns < count)
        ++columns;
    const int rows = (count + columns - 1) / columns;
    const LONG areaWidth = std::max<LONG>(0, ui::width(area));
    const LONG areaHeight = std::max<LONG>(0, ui::height(area));
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int inRow = row + 1 < rows ? columns : count - row * columns;
        const int column = i % columns;
        // Tile edges on whole pixels, the last tile of a row reaching the area's edge.
        const LONG left = area.left + areaWidth * column / inRow;
        const LONG right = area.left + areaWidth * (column + 1) / inRow;
        const LONG top = area.top + areaHeight * row / rows;
        const LONG bottom = area.top + areaHeight * (row + 1) / rows;
        const TileWindow& w = windows[static_cast<std::size_t>(i)];
        const LONG width = std::clamp<LONG>(right - left, w.minimum.cx, std::max(w.minimum.cx, w.maximum.cx));
        const LONG height = std::clamp<LONG>(bottom - top, w.minimum.cy, std::max(w.minimum.cy, w.maximum.cy));
        const LONG x = std::max<LONG>(area.left, std::min<LONG>(left, area.right - width));
        const LONG y = std::max<LONG>(area.top, std::min<LONG>(top, area.bottom - height));
        tiles.push_back(ui::makeRect(x, y, x + width, y + height));
    }
    return tiles;
}
