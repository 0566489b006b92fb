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

namespace {

// Sizes for windows side by side in `total`: as even as their limits allow.
std::vector<LONG> shareOut(LONG total, const std::vector<LONG>& minimum, const std::vector<LONG>& maximum)
{
    const std::size_t n = minimum.size();
    std::vector<LONG> sizes(n, 0);
    std::vector<bool> settled(n, false);
    for (;;) {
        LONG remaining = total;
        std::size_t open = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (settled[i])
                remaining -= sizes[i];
            else
                ++open;
        }
        if (open == 0)
            break;
        const LONG share = std::max<LONG>(0, remaining) / static_cast<LONG>(open);
        // Those that need more than an even share take their minimum first,
        // then those that stop short take their maximum; the rest share what is left.
        bool changed = false;
        for (std::size_t i = 0; i < n; ++i)
            if (!settled[i] && minimum[i] > share) {
                sizes[i] = minimum[i];
                settled[i] = changed = true;
            }
        if (!changed)
            for (std::size_t i = 0; i < n; ++i)
                if (!settled[i] && maximum[i] < share) {
                    sizes[i] = maximum[i];
                    settled[i] = changed = true;
                }
        if (changed)
            continue;
        // Edges on whole pixels, the last open window reaching the end.
        const LONG left = std::max<LONG>(0, remaining);
        LONG given = 0;
        std::size_t k = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (settled[i])
                continue;
            ++k;
            const LONG upTo = left * static_cast<LONG>(k) / static_cast<LONG>(open);
            sizes[i] = upTo - given;
            given = upTo;
        }
        break;
    }
    return sizes;
}

struct Grid {
    int columns = 1;
    int rows = 1;
    int inRow(int row, int count) const { return row + 1 < rows ? columns : count - row * columns; }
};

// Whether the windows' smallest sizes fit the area in this grid.
bool fits(const std::vector<TileWindow>& windows, const Grid& grid, LONG width, LONG height)
{
    const int count = static_cast<int>(windows.size());
    LONG heights = 0;
    for (int row = 0; row < grid.rows; ++row) {
        LONG widths = 0, tallest = 0;
        for (int i = row * grid.columns; i < row * grid.columns + grid.inRow(row, count); ++i) {
            widths += windows[static_cast<std::size_t>(i)].minimum.cx;
            tallest = std::max<LONG>(tallest, windows[static_cast<std::size_t>(i)].minimum.cy);
        }
        if (widths > width)
            return false;
        heights += tallest;
    }
    return heights <= height;
}

} // namespace

std::vector<RECT> tileWindows(const std::vector<TileWindow>& windows, const RECT& area)
{
    std::vector<RECT> tiles;
    const int count = static_cast<int>(windows.size());
    if (count == 0)
        return tiles;
    const LONG areaWidth = std::max<LONG>(0, ui::width(area));
    const LONG areaHeight = std::max<LONG>(0, ui::height(area));
    int square = 1;
    while (square * square < count)
        ++square;
    auto gridOf = [count](int columns) { return Grid{columns, (count + columns - 1) / columns}; };
    Grid grid = gridOf(square);
    // The nearest column count with which everything fits, fewer columns first.
    for (int distance = 0; distance < count; ++distance) {
        const int fewer = square - distance, more = square + distance;
        if (fewer >= 1 && fits(windows, gridOf(fewer), areaWidth, areaHeight)) {
            grid = gridOf(fewer);
            break;
        }
        if (more <= count && fits(windows, gridOf(more), areaWidth, areaHeight)) {
            grid = gridOf(more);
            break;
        }
    }

    std::vector<LONG> rowMinimum, rowMaximum;
    for (int row = 0; row < grid.rows; ++row) {
        LONG low = 0, high = 0;
        for (int i = row * grid.columns; i < row * grid.columns + grid.inRow(row, count); ++i) {
            low = std::max<LONG>(low, windows[static_cast<std::size_t>(i)].minimum.cy);
            high = std::max<LONG>(high, windows[static_cast<std::size_t>(i)].maximum.cy);
        }
        rowMinimum.push_back(low);
        rowMaximum.push_back(std::max(low, high));
    }
    const std::vector<LONG> rowHeights = shareOut(areaHeight, rowMinimum, rowMaximum);
    LONG top = area.top;
    for (int row = 0; row < grid.rows; ++row) {
        const int first = row * grid.columns, inRow = grid.inRow(row, count);
        std::vector<LONG> minimum, maximum;
        for (int i = first; i < first + inRow; ++i) {
            const TileWindow& w = windows[static_cast<std::size_t>(i)];
            minimum.push_back(w.minimum.cx);
            maximum.push_back(std::max(w.minimum.cx, w.maximum.cx));
        }
        const std::vector<LONG> widths = shareOut(areaWidth, minimum, maximum);
        LONG left = area.left;
        for (int k = 0; k < inRow; ++k) {
            const TileWindow& w = windows[static_cast<std::size_t>(first + k)];
            const LONG width = widths[static_cast<std::size_t>(k)];
            const LONG height = std::clamp<LONG>(rowHeights[static_cast<std::size_t>(row)], w.minimum.cy,
                                                 std::max(w.minimum.cy, w.maximum.cy));
            const LONG x = std::max<LONG>(area.left, std::min<LONG>(left, area.right - width));
            const LONG y = std::max<LONG>(area.top, std::min<LONG>(top, area.bottom - height));
            tiles.push_back(ui::makeRect(x, y, x + width, y + height));
            left += width;
        }
        top += rowHeights[static_cast<std::size_t>(row)];
    }
    return tiles;
}

std::vector<RECT> cascadeWindows(const std::vector<TileWindow>& windows, const RECT& area, int step)
{
    std::vector<RECT> placed;
    const LONG count = static_cast<LONG>(windows.size());
    if (count == 0)
        return placed;
    const LONG room = step * (count - 1);
    const LONG width = std::max<LONG>(0, ui::width(area) - room);
    const LONG height = std::max<LONG>(0, ui::height(area) - room);
    for (LONG i = 0; i < count; ++i) {
        const TileWindow& w = windows[static_cast<std::size_t>(i)];
        const LONG cx = std::clamp<LONG>(width, w.minimum.cx, std::max(w.minimum.cx, w.maximum.cx));
        const LONG cy = std::clamp<LONG>(height, w.minimum.cy, std::max(w.minimum.cy, w.maximum.cy));
        const LONG x = std::max<LONG>(area.left, std::min<LONG>(area.left + step * i, area.right - cx));
        const LONG y = std::max<LONG>(area.top, std::min<LONG>(area.top + step * i, area.bottom - cy));
        placed.push_back(ui::makeRect(x, y, x + cx, y + cy));
    }
    return placed;
}
