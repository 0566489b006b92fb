#include "ui/RectangleGroup.h"

#include "ui/ControlGroup.h"
#include "ui/RectOps.h"

namespace {
const RECT noRectanglesYet = ui::makeRect(-1, 0, 0, 0);
constexpr LONG maxExtent = 10000;
} // namespace

RectangleGroup::RectangleGroup() { rect = noRectanglesYet; }

void RectangleGroup::add(const PlacedRect& r)
{
    rect = ui::equal(rect, noRectanglesYet) ? r.rect : ui::unite(rect, r.rect);
    rectangles.push_back(r);
    initialRects.push_back(r.rect);
}

void RectangleGroup::add(const std::vector<PlacedRect>& rs)
{
    for (const PlacedRect& r : rs)
        add(r);
}

void RectangleGroup::arrange(const RECT r)
{
    for (std::size_t i = 0; i < rectangles.size(); ++i)
        rectangles[i].rect = ui::scaleInto(initialRects[i], rect, r);
}

void RectangleGroup::init(const RECT r)
{
    minRect = r;
    measureMargins(r);
    maxRect = r;
    maxRect.right = maxExtent;
    maxRect.bottom = maxExtent;
}

RECT RectangleGroup::getExtent() const
{
    RECT extent{};
    for (const PlacedRect& r : rectangles)
        extent = ui::unite(extent, r.rect);
    return extent;
}

void RectangleGroup::show(bool visible)
{
    for (PlacedRect& r : rectangles)
        r.visible = visible;
}

bool RectangleGroup::isVisible() const
{
    for (const PlacedRect& r : rectangles)
        if (r.visible)
            return true;
    return false;
}

void RectangleGroup::notifyPlacement()
{
    for (PlacedRect& r : rectangles)
        r.placed->emit(r.rect, r.visible);
}

LayoutItemHandle makeRectangleGroup(const PlacedRect& r1, const PlacedRect& r2, const PlacedRect& r3,
                                    const PlacedRect& r4, const PlacedRect& r5, const PlacedRect& r6,
                                    const PlacedRect& r7, const PlacedRect& r8)
{
    const PlacedRect unset;
    auto* group = new RectangleGroup;
    group->add(r1);
    for (const PlacedRect* r : {&r2, &r3, &r4, &r5, &r6, &r7, &r8})
        if (!ui::equal(r->rect, unset.rect) || r->visible != unset.visible)
            group->add(*r);
    return LayoutItemHandle::adopt(group);
}
