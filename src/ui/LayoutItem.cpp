#include "ui/LayoutItem.h"

#include "ui/RectOps.h"

#include <algorithm>
#include <utility>

namespace {

// The right and bottom of every recorded maximum; nothing reads it.
constexpr LONG maxExtent = 10000;

RECT withMaxExtent(RECT r)
{
    r.right = maxExtent;
    r.bottom = maxExtent;
    return r;
}

// Swaps the axes, so that the horizontal box runs the vertical box's
// arithmetic on transposed rectangles.
RECT transpose(const RECT& r) { return ui::makeRect(r.top, r.left, r.bottom, r.right); }
RECT along(const RECT& r, bool across) { return across ? transpose(r) : r; }

template <class Box>
int addChild(Box& box, int weight, const LayoutItemHandle& item, double stretch)
{
    RECT initial = item ? item->getRect() : RECT{};
    box.children.push_back(item);
    box.weights.push_back(weight);
    box.maxStretch.push_back(stretch);
    box.initialRects.push_back(initial);
    box.rect = ui::unite(box.rect, initial);
    box.totalWeight += weight;
    return box.totalWeight;
}

// Each child is measured against a band of the full breadth of r, from the end
// of the previous child to its own end.
template <class Box>
void initChildren(Box& box, const RECT& r, bool across)
{
    const RECT whole = along(r, across);
    RECT band = whole;
    for (auto& child : box.children) {
        if (!child)
            continue;
        const LONG childEnd = along(child->getRect(), across).bottom;
        band.bottom = childEnd;
        child->init(along(band, across));
        band.top = std::min(childEnd + 1, whole.bottom);
    }
}

template <class Box>
void arrangeChildren(Box& box, const RECT& r, bool across)
{
    const RECT target = along(r, across);
    const RECT initial = along(box.rect, across);
    const int extra = ui::height(target) - ui::height(initial);
    const int dx = target.left - initial.left;
    const int endShift = target.right - initial.right;
    int running = target.top - initial.top;
    for (std::size_t i = 0; i < box.children.size(); ++i) {
        int share = box.totalWeight == 0 ? 0 : box.weights[i] * extra / box.totalWeight;
        const RECT c = along(box.initialRects[i], across);
        const double cap = box.maxStretch[i];
        if (cap != 0.0) {
            const double h = ui::height(c);
            if (h * cap < h + share)
                share = static_cast<int>(h * (cap - 1.0));
        }
        const RECT placed = ui::makeRect(c.left + dx, c.top + running, c.right + endShift, c.bottom + running + share);
        running += share;
        if (box.children[i])
            box.children[i]->arrange(along(placed, across));
    }
}

template <class Box>
RECT childExtent(const Box& box)
{
    RECT extent{};
    for (const auto& child : box.children)
        if (child)
            extent = ui::unite(extent, child->getExtent());
    return extent;
}

template <class Box>
bool anyChildVisible(const Box& box)
{
    for (const auto& child : box.children)
        if (child && child->isVisible())
            return true;
    return false;
}

template <class Box, class Op>
void forEachChild(Box& box, Op op)
{
    for (auto& child : box.children)
        if (child)
            op(*child);
}

} // namespace

// LayoutItem

void LayoutItem::setRect(const RECT r)
{
    arrange(ui::makeRect(r.left + margins.left, r.top + margins.top, r.right - margins.right, r.bottom - margins.bottom));
}

void LayoutItem::show(bool) {}

void LayoutItem::syncVisibility() {}

void LayoutItem::init(const RECT r)
{
    minRect = r;
    maxRect = r;
}

void LayoutItem::measureMargins(const RECT& r)
{
    margins.left = rect.left - r.left;
    margins.top = rect.top - r.top;
    margins.right = r.right - rect.right;
    margins.bottom = r.bottom - rect.bottom;
}

// LayoutItemHandle

LayoutItemHandle::LayoutItemHandle(const LayoutItem& source) : item(source.clone()) {}

LayoutItemHandle::LayoutItemHandle(const LayoutItemHandle& other) : item(other.item ? other.item->clone() : nullptr) {}

LayoutItemHandle::LayoutItemHandle(LayoutItemHandle&& other) noexcept : item(std::exchange(other.item, nullptr)) {}

LayoutItemHandle& LayoutItemHandle::operator=(const LayoutItemHandle& other)
{
    // Clone first: the source may live inside the item held now.
    LayoutItem* copy = other.item ? other.item->clone() : nullptr;
    delete item;
    item = copy;
    return *this;
}

LayoutItemHandle& LayoutItemHandle::operator=(LayoutItemHandle&& other) noexcept
{
    if (this != &other) {
        LayoutItem* taken = std::exchange(other.item, nullptr);
        delete item;
        item = taken;
    }
    return *this;
}

LayoutItemHandle::~LayoutItemHandle() { delete item; }

LayoutItemHandle LayoutItemHandle::adopt(LayoutItem* item)
{
    LayoutItemHandle handle;
    handle.item = item;
    return handle;
}

LayoutItem* LayoutItemHandle::release() { return std::exchange(item, nullptr); }

// WeightedBox

int WeightedBox::add(int weight, const LayoutItemHandle& item, double stretch)
{
    return addChild(*this, weight, item, stretch);
}

void WeightedBox::init(const RECT r)
{
    minRect = r;
    measureMargins(r);
    initChildren(*this, r, horizontal);
    maxRect = withMaxExtent(r);
}

void WeightedBox::arrange(const RECT r) { arrangeChildren(*this, r, horizontal); }
RECT WeightedBox::getExtent() const { return childExtent(*this); }
bool WeightedBox::isVisible() const { return anyChildVisible(*this); }
void WeightedBox::show(bool visible) { forEachChild(*this, [visible](LayoutItem& c) { c.show(visible); }); }
void WeightedBox::syncVisibility() { forEachChild(*this, [](LayoutItem& c) { c.syncVisibility(); }); }
void WeightedBox::notifyPlacement() { forEachChild(*this, [](LayoutItem& c) { c.notifyPlacement(); }); }

// FramedItem

FramedItem::FramedItem(const FramedItem& other)
    : LayoutItem(other),
      outer(other.outer ? other.outer->clone() : nullptr),
      inner(other.inner ? other.inner->clone() : nullptr),
      insets(other.insets)
{
}

FramedItem& FramedItem::operator=(const FramedItem& other)
{
    if (this != &other) {
        FramedItem copy(other);
        LayoutItem::operator=(copy);
        std::swap(outer, copy.outer);
        std::swap(inner, copy.inner);
        insets = copy.insets;
    }
    return *this;
}

FramedItem::~FramedItem()
{
    delete outer;
    delete inner;
}

void FramedItem::setOuter(const LayoutItemHandle& item)
{
    LayoutItem* copy = item ? item->clone() : nullptr;
    delete outer;
    outer = copy;
    if (outer)
        rect = ui::unite(rect, outer->getRect());
}

void FramedItem::setInner(const LayoutItemHandle& item)
{
    LayoutItem* copy = item ? item->clone() : nullptr;
    delete inner;
    inner = copy;
    if (inner)
        rect = ui::unite(rect, inner->getRect());
}

void FramedItem::init(const RECT r)
{
    minRect = r;
    maxRect = r;
    if (outer)
        outer->init(r);
    const RECT o = outer ? outer->getRect() : RECT{};
    const RECT i = inner ? inner->getRect() : RECT{};
    insets.left = i.left - o.left;
    insets.top = i.top - o.top;
    insets.right = o.right - i.right;
    insets.bottom = o.bottom - i.bottom;
    if (inner)
        inner->init(inner->getRect());
}

void FramedItem::arrange(const RECT r)
{
    if (outer)
        outer->arrange(r);
    if (inner)
        inner->arrange(ui::makeRect(r.left + insets.left, r.top + insets.top, r.right - insets.right, r.bottom - insets.bottom));
}

RECT FramedItem::getExtent() const
{
    RECT extent{};
    if (outer)
        extent = ui::unite(extent, outer->getExtent());
    if (inner)
        extent = ui::unite(extent, inner->getExtent());
    return extent;
}

void FramedItem::show(bool visible)
{
    if (outer)
        outer->show(visible);
    if (inner)
        inner->show(visible);
}

bool FramedItem::isVisible() const
{
    return (outer && outer->isVisible()) || (inner && inner->isVisible());
}

// A frame is shown exactly when its contents are.
void FramedItem::syncVisibility()
{
    if (inner)
        inner->syncVisibility();
    if (outer && inner)
        outer->show(inner->isVisible());
}

void FramedItem::notifyPlacement()
{
    if (outer)
        outer->notifyPlacement();
    if (inner)
        inner->notifyPlacement();
}
