#include "ui/ControlGroup.h"

#include "Utillib/LogStream.h"
#include "ui/Placement.h"
#include "ui/RectOps.h"

#include <initializer_list>

namespace {

// Marks a group that holds no control yet.
const RECT noControlsYet = ui::makeRect(-1, 0, 0, 0);
constexpr LONG maxExtent = 10000;

// Scale of one axis; an initial extent of zero keeps the size rather than
// dividing by zero.
double scale(LONG to, LONG from) { return from == 0 ? 1.0 : static_cast<double>(to) / from; }

} // namespace

RECT ui::scaleInto(const RECT& c, const RECT& from, const RECT& to)
{
    const double sx = scale(ui::width(to), ui::width(from));
    const double sy = scale(ui::height(to), ui::height(from));
    const int w = static_cast<int>(ui::width(c) * sx);
    const int h = static_cast<int>(ui::height(c) * sy);
    const int x = to.left + static_cast<int>((c.left - from.left) * sx);
    const int y = to.top + static_cast<int>((c.top - from.top) * sy);
    return ui::makeRect(x, y, x + w, y + h);
}

// ControlGroup

ControlGroup::ControlGroup() { rect = noControlsYet; }

void ControlGroup::add(WindowHandle window)
{
    LOG_ASSERT(window != nullptr);
    if (!window)
        return;
    WindowLayer& layer = windowLayer();
    if (!parent)
        parent = layer.getParent(window);
    const RECT r = getWindowRectInParent(window);
    rect = ui::equal(rect, noControlsYet) ? r : ui::unite(rect, r);
    windows.push_back(window);
    initialRects.push_back(r);
}

void ControlGroup::arrange(const RECT r)
{
    WindowLayer& layer = windowLayer();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const RECT placed = ui::scaleInto(initialRects[i], rect, r);
        layer.moveWindow(windows[i], placed.left, placed.top, ui::width(placed), ui::height(placed), true);
        if (parent)
            layer.invalidateRect(parent, placed, true);
    }
}

void ControlGroup::init(const RECT r)
{
    minRect = r;
    measureMargins(r);
    maxRect = r;
    maxRect.right = maxExtent;
    maxRect.bottom = maxExtent;
}

RECT ControlGroup::getExtent() const
{
    RECT extent{};
    for (WindowHandle w : windows)
        extent = ui::unite(extent, getWindowRectInParent(w));
    return extent;
}

void ControlGroup::show(bool visible)
{
    WindowLayer& layer = windowLayer();
    for (WindowHandle w : windows)
        layer.showWindow(w, visible);
}

bool ControlGroup::isVisible() const
{
    WindowLayer& layer = windowLayer();
    for (WindowHandle w : windows)
        if (layer.isWindowVisible(w))
            return true;
    return false;
}

// Spacer

Spacer::Spacer(int w, int h) : width(w), height(h) { rect = ui::makeRect(0, 0, w, h); }

void Spacer::init(const RECT r)
{
    minRect = r;
    maxRect = r;
    margins.left = ui::width(r) - width;
    margins.top = ui::height(r) - height;
    margins.right = 0;
    margins.bottom = 0;
    maxRect.right = maxExtent;
    maxRect.bottom = maxExtent;
    rect = ui::offset(rect, r.left, r.top);
}

// AspectItem

AspectItem::AspectItem(const AspectItem& other) : LayoutItem(other), inner(other.inner ? other.inner->clone() : nullptr) {}

AspectItem& AspectItem::operator=(const AspectItem& other)
{
    if (this != &other) {
        LayoutItem* copy = other.inner ? other.inner->clone() : nullptr;
        LayoutItem::operator=(other);
        delete inner;
        inner = copy;
    }
    return *this;
}

AspectItem::~AspectItem() { delete inner; }

void AspectItem::setInner(const LayoutItemHandle& item)
{
    LayoutItem* copy = item ? item->clone() : nullptr;
    delete inner;
    inner = copy;
    if (inner)
        rect = inner->getRect();
}

void AspectItem::arrange(const RECT r)
{
    const double ratio = ui::height(rect) == 0 ? 1.0 : static_cast<double>(ui::width(rect)) / ui::height(rect);
    const int w = ui::width(r);
    const int h = ui::height(r);
    const int fittedHeight = static_cast<int>(w / ratio);
    const int fittedWidth = static_cast<int>(h * ratio);
    int placedWidth = 10;
    int placedHeight = 10;
    if (fittedHeight <= h) {
        placedWidth = w;
        placedHeight = fittedHeight;
    } else if (fittedWidth <= w) {
        placedWidth = fittedWidth;
        placedHeight = h;
    }
    const int left = r.left + (w - placedWidth) / 2;
    const int top = r.top + (h - placedHeight) / 2;
    if (inner)
        inner->arrange(ui::makeRect(left, top, left + placedWidth, top + placedHeight));
}

void AspectItem::init(const RECT r)
{
    minRect = r;
    maxRect = r;
    if (inner)
        inner->init(r);
    maxRect = ui::makeRect(0, 0, maxExtent, maxExtent);
}

RECT AspectItem::getExtent() const { return inner ? inner->getExtent() : RECT{}; }

void AspectItem::show(bool visible)
{
    if (inner)
        inner->show(visible);
}

bool AspectItem::isVisible() const { return inner && inner->isVisible(); }

void AspectItem::syncVisibility()
{
    if (inner)
        inner->syncVisibility();
}

void AspectItem::notifyPlacement()
{
    if (inner)
        inner->notifyPlacement();
}

// Factories

namespace {

void addIds(ControlGroup& group, WindowHandle dialog, std::initializer_list<int> ids)
{
    WindowLayer& layer = windowLayer();
    for (int id : ids)
        if (id != 0)
            group.add(layer.getDlgItem(dialog, id));
}

} // namespace

LayoutItemHandle makeControlGroup(WindowHandle dialog, int id1, int id2, int id3, int id4, int id5, int id6, int id7,
                                  int id8)
{
    auto* group = new ControlGroup;
    addIds(*group, dialog, {id1, id2, id3, id4, id5, id6, id7, id8});
    return LayoutItemHandle::adopt(group);
}

LayoutItemHandle extendControlGroup(const LayoutItemHandle& group, int id1, int id2, int id3, int id4, int id5, int id6,
                                    int id7, int id8)
{
    const auto* source = dynamic_cast<const ControlGroup*>(group.get());
    LOG_ASSERT(source != nullptr);
    if (!source)
        return group;
    auto* extended = new ControlGroup(*source);
    addIds(*extended, extended->parent, {id1, id2, id3, id4, id5, id6, id7, id8});
    return LayoutItemHandle::adopt(extended);
}

LayoutItemHandle makeControlGroupFromWindows(const std::vector<WindowHandle>& windows)
{
    auto* group = new ControlGroup;
    for (WindowHandle w : windows)
        group->add(w);
    return LayoutItemHandle::adopt(group);
}

LayoutItemHandle makeControlGroupFromHandles(WindowHandle w1, WindowHandle w2, WindowHandle w3, WindowHandle w4,
                                             WindowHandle w5, WindowHandle w6, WindowHandle w7, WindowHandle w8)
{
    auto* group = new ControlGroup;
    group->add(w1);
    for (WindowHandle w : {w2, w3, w4, w5, w6, w7, w8})
        if (w)
            group->add(w);
    return LayoutItemHandle::adopt(group);
}

LayoutItemHandle makeControlGroupFromIds(WindowHandle dialog, const std::vector<int>& ids)
{
    auto* group = new ControlGroup;
    WindowLayer& layer = windowLayer();
    for (int id : ids)
        group->add(layer.getDlgItem(dialog, id));
    return LayoutItemHandle::adopt(group);
}

LayoutItemHandle makeSpacer(int width, int height) { return LayoutItemHandle::adopt(new Spacer(width, height)); }

LayoutItemHandle makePadded(const LayoutItemHandle& item, int left, int top, int right, int bottom)
{
    LayoutItemHandle result = item;
    if (left != 0 || right != 0) {
        HorizontalBox box;
        if (left != 0)
            box.add(0, makeSpacer(left, 0), 0.0);
        box.add(1, result, 0.0);
        if (right != 0)
            box.add(0, makeSpacer(right, 0), 0.0);
        result = box;
    }
    if (top != 0 || bottom != 0) {
        VerticalBox box;
        if (top != 0)
            box.add(0, makeSpacer(0, top), 0.0);
        box.add(1, result, 0.0);
        if (bottom != 0)
            box.add(0, makeSpacer(0, bottom), 0.0);
        result = box;
    }
    return result;
}

LayoutItemHandle makeAspectItem(const LayoutItemHandle& item)
{
    auto* aspect = new AspectItem;
    aspect->setInner(item);
    return LayoutItemHandle::adopt(aspect);
}
