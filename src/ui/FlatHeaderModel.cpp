#include "ui/FlatHeaderModel.h"

#include <algorithm>

int FlatHeaderModel::insertItem(int index, const HeaderItem& newItem, int position)
{
    index = std::clamp(index, 0, count());
    items.insert(items.begin() + index, newItem);
    extras.insert(extras.begin() + index, HeaderItemEx{});
    for (int& i : displayOrder)
        if (i >= index)
            ++i;
    if (position < 0 || position > int(displayOrder.size()))
        position = int(displayOrder.size());
    displayOrder.insert(displayOrder.begin() + position, index);
    return index;
}

bool FlatHeaderModel::deleteItem(int index)
{
    if (index < 0 || index >= count())
        return false;
    items.erase(items.begin() + index);
    extras.erase(extras.begin() + index);
    displayOrder.erase(std::find(displayOrder.begin(), displayOrder.end(), index));
    for (int& i : displayOrder)
        if (i > index)
            --i;
    return true;
}

const HeaderItem* FlatHeaderModel::item(int index) const
{
    return index >= 0 && index < count() ? &items[index] : nullptr;
}

HeaderItem* FlatHeaderModel::item(int index) { return index >= 0 && index < count() ? &items[index] : nullptr; }

int FlatHeaderModel::orderToIndex(int position) const
{
    return position >= 0 && position < int(displayOrder.size()) ? displayOrder[position] : -1;
}

int FlatHeaderModel::indexToOrder(int index) const
{
    auto found = std::find(displayOrder.begin(), displayOrder.end(), index);
    return found == displayOrder.end() ? -1 : int(found - displayOrder.begin());
}

bool FlatHeaderModel::setOrder(const std::vector<int>& newOrder)
{
    if (newOrder.size() != displayOrder.size())
        return false;
    std::vector<int> sorted = newOrder;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < int(sorted.size()); ++i)
        if (sorted[i] != i)
            return false;
    displayOrder = newOrder;
    return true;
}

RECT FlatHeaderModel::itemRect(int index, int height) const
{
    int x = 0;
    for (int i : displayOrder) {
        if (i == index)
            return RECT{x, 0, x + items[i].width, height};
        x += items[i].width;
    }
    return RECT{};
}

int FlatHeaderModel::totalWidth() const
{
    int total = 0;
    for (const HeaderItem& i : items)
        total += i.width;
    return total;
}

HeaderHit FlatHeaderModel::hitTest(int x) const
{
    HeaderHit hit;
    int left = 0;
    for (int position = 0; position < int(displayOrder.size()); ++position) {
        int index = displayOrder[position];
        int right = left + items[index].width;
        // The grip left of a right edge belongs to this item; right of it, to
        // this item too unless the next one starts there with room of its own.
        if (x >= right - dividerGrip && x < right + dividerGrip) {
            hit.flags = HeaderHit::OnDivider;
            hit.item = index;
            // A zero-width item after this one is reached through its own divider.
            while (position + 1 < int(displayOrder.size()) && items[displayOrder[position + 1]].width == 0 &&
                   x >= right) {
                ++position;
                hit.item = displayOrder[position];
            }
            return hit;
        }
        if (x >= left && x < right) {
            hit.flags = HeaderHit::OnItem;
            hit.item = index;
            return hit;
        }
        left = right;
    }
    return hit;
}

bool FlatHeaderModel::setItemEx(int index, const HeaderItemEx& newExtra,
                                const std::function<int(const QString&)>& textWidth)
{
    if (index < 0 || index >= count())
        return false;
    extras[index] = newExtra;
    int width = items[index].width;
    if (newExtra.flags & HeaderItemEx::FitContent)
        width = neededWidth(index, newExtra.flags & HeaderItemEx::RoomForArrow, textWidth);
    if (!(newExtra.flags & HeaderItemEx::FixedWidth) && newExtra.maxWidth >= newExtra.minWidth)
        width = std::min(std::max(width, newExtra.minWidth), newExtra.maxWidth);
    items[index].width = width;
    return true;
}

bool FlatHeaderModel::getItemEx(int index, HeaderItemEx* out) const
{
    if (index < 0 || index >= count() || !out)
        return false;
    *out = extras[index];
    return true;
}

const HeaderItemEx* FlatHeaderModel::extra(int index) const
{
    return index >= 0 && index < count() ? &extras[index] : nullptr;
}

int FlatHeaderModel::neededWidth(int index, bool withArrow, const std::function<int(const QString&)>& textWidth) const
{
    const HeaderItem* i = item(index);
    if (!i)
        return 0;
    int width = margin;
    if (i->format & HDF_IMAGE)
        width += imageWidth + margin;
    if (i->format & HDF_BITMAP)
        width += i->bitmapWidth + margin;
    if (withArrow)
        width += arrowWidth + margin;
    if ((i->format & HDF_STRING) && !i->text.isEmpty() && textWidth)
        width += textWidth(i->text) + margin;
    return width;
}

int FlatHeaderModel::clampDraggedWidth(int index, int width) const
{
    const HeaderItemEx* e = extra(index);
    width = std::max(width, 0);
    if (e && e->maxWidth >= e->minWidth)
        width = std::clamp(width, e->minWidth, e->maxWidth);
    return width;
}

int FlatHeaderModel::dropPosition(int x) const
{
    HeaderHit hit = hitTest(x);
    if (hit.item < 0)
        return -1;
    RECT r = itemRect(hit.item, 1);
    int position = indexToOrder(hit.item);
    // On a divider the side of the middle still decides.
    return x > (r.left + r.right) / 2 ? position + 1 : position;
}

SortArrow sortArrow(const RECT& rect, int x, int w, int h, bool ascending)
{
    SortArrow arrow;
    if (rect.right - rect.left < w)
        return arrow;
    arrow.drawn = true;
    int y = rect.top + (rect.bottom - rect.top - h - 1) / 2;
    int tip = x + (w - 1) / 2;
    if (ascending) {
        arrow.highlight = {{tip + 1, y}, {x + w - 1, y + h - 1}, {x, y + h - 1}};
        arrow.shadow = {{tip, y}, {x, y + h - 1}};
    } else {
        arrow.highlight = {{tip + 1, y + h - 1}, {x + w - 1, y}};
        arrow.shadow = {{tip, y + h - 1}, {x, y}, {x + w, y}};
    }
    return arrow;
}
