#include "ui/ReportModel.h"

#include <algorithm>
#include <utility>

namespace {
constexpr int headerImageFormat = 0x0800;
}

int ReportModel::defineColumn(int index, const ReportColumn& definition)
{
    if (index < 0 || index > columnCount())
        return -1;
    ReportColumn c = definition;
    if (c.width < 0)
        c.width = defaultWidth;
    if (!(c.format & headerImageFormat))
        c.image = 0;
    columns.insert(columns.begin() + index, c);
    fixed.subitems.insert(fixed.subitems.begin() + index, ReportSubitem{});
    if (!(style & ReportStyle::OwnerData))
        for (ReportData& r : rows)
            r.subitems.insert(r.subitems.begin() + index, ReportSubitem{});
    cacheInvalidate();
    return index;
}

bool ReportModel::deleteColumn(int index)
{
    if (index < 0 || index >= columnCount())
        return false;
    columns.erase(columns.begin() + index);
    fixed.subitems.erase(fixed.subitems.begin() + index);
    for (ReportData& r : rows)
        if (index < int(r.subitems.size()))
            r.subitems.erase(r.subitems.begin() + index);
    if (focusColumn >= columnCount())
        focusColumn = -1;
    cacheInvalidate();
    return true;
}

bool ReportModel::modifyColumn(int index, const ReportColumn& definition)
{
    ReportColumn* c = column(index);
    if (!c)
        return false;
    *c = definition;
    if (c->width < 0)
        c->width = defaultWidth;
    if (!(c->format & headerImageFormat))
        c->image = 0;
    return true;
}

const ReportColumn* ReportModel::column(int index) const
{
    return index >= 0 && index < columnCount() ? &columns[index] : nullptr;
}

ReportColumn* ReportModel::column(int index) { return index >= 0 && index < columnCount() ? &columns[index] : nullptr; }

int ReportModel::insertColor(int index, COLORREF colour)
{
    if (index < 0)
        return -1;
    if (index > int(colours.size()))
        colours.resize(index, 0x000000);
    colours.insert(colours.begin() + index, colour);
    return index;
}

bool ReportModel::deleteColor(int index)
{
    if (index < 0 || index >= int(colours.size()))
        return false;
    colours.erase(colours.begin() + index);
    return true;
}

COLORREF ReportModel::colourAt(int index, COLORREF fallback) const
{
    return index >= 0 && index < int(colours.size()) ? colours[index] : fallback;
}

ReportData ReportModel::emptyRow() const
{
    ReportData r;
    r.subitems.resize(columns.size());
    return r;
}

ReportData* ReportModel::storedRow(int index)
{
    if (index == fixedRowIndex)
        return &fixed;
    return index >= 0 && index < int(rows.size()) ? &rows[index] : nullptr;
}

const ReportData* ReportModel::row(int index) const
{
    if (style & ReportStyle::OwnerData)
        return ownerRow(index, -1);
    if (index == fixedRowIndex)
        return &fixed;
    return index >= 0 && index < int(rows.size()) ? &rows[index] : nullptr;
}

int ReportModel::stateOf(int index) const
{
    const ReportData* r = row(index);
    return r ? r->state : 0;
}

int ReportModel::extraHeightOf(int index) const
{
    const ReportData* r = row(index);
    return r ? r->extraHeight : 0;
}

int ReportModel::insertItem(const ReportItem& item)
{
    if (style & ReportStyle::OwnerData)
        return noRow;
    // Rows go between the existing ones or after the last, nowhere else.
    if (item.row < 0 || item.row > int(rows.size()))
        return noRow;
    const int at = item.row;
    const bool appended = at == int(rows.size());
    rows.insert(rows.begin() + at, emptyRow());
    if (!appended)
        for (int& r : order)
            if (r >= at)
                ++r;
    order.insert(order.begin() + at, at);
    if (appended && !reverseStale)
        reverse.push_back(at);
    else
        reverseStale = true;

    std::set<int> shifted;
    for (int r : selection)
        shifted.insert(r >= at ? r + 1 : r);
    selection = std::move(shifted);
    if (focusRow >= at)
        ++focusRow;
    if (anchor >= at)
        ++anchor;

    ReportItem fields = item;
    fields.subitem = std::clamp(item.subitem, 0, std::max(columnCount() - 1, 0));
    if (columnCount() > 0)
        setItem(fields);
    else {
        ReportData& r = rows[at];
        if (item.mask & ReportMask::Background)
            r.background = item.background;
        if (item.mask & ReportMask::ExtraHeight)
            r.extraHeight = item.extraHeight;
        if (item.mask & ReportMask::State)
            r.state = item.state & ~(ReportState::Focused | ReportState::Selected);
        if (item.mask & ReportMask::Data)
            r.data = item.data;
    }
    return at;
}

bool ReportModel::setItem(const ReportItem& item)
{
    if (style & ReportStyle::OwnerData)
        return false;
    ReportData* r = storedRow(item.row);
    if (!r || item.subitem < 0 || item.subitem >= int(r->subitems.size()))
        return false;
    ReportSubitem& s = r->subitems[item.subitem];
    if (item.mask & ReportMask::Text)
        s.text = item.text;
    if (item.mask & ReportMask::Colour)
        s.colour = item.colour;
    if (item.mask & ReportMask::Image)
        s.image = item.image;
    if (item.mask & ReportMask::Check)
        s.check = item.check;
    if (item.mask & ReportMask::Background)
        r->background = item.background;
    if (item.mask & ReportMask::ExtraHeight)
        r->extraHeight = item.extraHeight;
    if (item.mask & ReportMask::State) {
        const int own = ReportState::Focused | ReportState::Selected;
        r->state = (r->state & own) | (item.state & ~own);
    }
    if (item.mask & ReportMask::Data)
        r->data = item.data;
    if (listener)
        listener->rowChanged(item.row);
    return true;
}

bool ReportModel::getItem(ReportItem* item) const
{
    if (!item)
        return false;
    const ReportData* r = (style & ReportStyle::OwnerData) ? ownerRow(item->row, item->subitem) : row(item->row);
    if (!r || item->subitem < 0 || item->subitem >= int(r->subitems.size()))
        return false;
    const ReportSubitem& s = r->subitems[item->subitem];
    const bool askedText = item->mask & ReportMask::Text;
    int mask = ReportMask::State | ReportMask::Data;
    if (r->extraHeight != 0)
        mask |= ReportMask::ExtraHeight;
    if (r->background >= 0)
        mask |= ReportMask::Background;
    if (!s.text.isEmpty()) {
        mask |= ReportMask::Text;
        item->text = s.text.left(std::max(item->textMax - 1, 0));
    } else if (!askedText) {
        item->text.clear();
    }
    if (s.image >= 0)
        mask |= ReportMask::Image;
    if (s.check >= 0)
        mask |= ReportMask::Check;
    if (s.colour >= 0)
        mask |= ReportMask::Colour;
    item->mask = mask;
    item->image = s.image;
    item->check = s.check;
    item->colour = s.colour;
    item->background = r->background;
    item->extraHeight = r->extraHeight;
    item->state = r->state;
    item->data = r->data;
    return true;
}

bool ReportModel::deleteItem(int index)
{
    if (style & ReportStyle::OwnerData)
        return false;
    if (index < 0 || index >= int(rows.size()))
        return false;
    const int position = positionOf(index);
    rows.erase(rows.begin() + index);
    order.erase(order.begin() + position);
    for (int& r : order)
        if (r > index)
            --r;
    reverseStale = true;
    std::set<int> kept;
    for (int r : selection)
        if (r != index)
            kept.insert(r > index ? r - 1 : r);
    selection = std::move(kept);
    const int count = int(rows.size());
    if (focusRow == index) {
        focusRow = count == 0 ? noRow : std::min(index, count - 1);
        if (focusRow >= 0)
            rows[focusRow].state |= ReportState::Focused;
    } else if (focusRow > index) {
        --focusRow;
    }
    if (anchor > position)
        --anchor;
    if (anchor >= count)
        anchor = count - 1;
    if (anchor < 0 && anchor != fixedRowIndex)
        anchor = noRow;
    return true;
}

void ReportModel::deleteAllItems()
{
    rows.clear();
    order.clear();
    reverse.clear();
    reverseStale = false;
    std::set<int> kept;
    if (selection.count(fixedRowIndex))
        kept.insert(fixedRowIndex);
    selection = std::move(kept);
    focusRow = noRow;
    anchor = noRow;
}

int ReportModel::getItemCount() const
{
    return (style & ReportStyle::OwnerData) ? ownerCount : int(rows.size());
}

bool ReportModel::setItemCount(int count)
{
    if (!(style & ReportStyle::OwnerData) || count < 0)
        return false;
    ownerCount = count;
    order.resize(count);
    for (int i = 0; i < count; ++i)
        order[i] = i;
    reverseStale = true;
    if (focusRow >= count)
        focusRow = count - 1;
    if (focusRow < 0 && focusRow != fixedRowIndex)
        focusRow = noRow;
    cacheInvalidate();
    return true;
}

void ReportModel::rebuildReverse() const
{
    reverse.assign(order.size(), noRow);
    for (int position = 0; position < int(order.size()); ++position)
        if (order[position] >= 0 && order[position] < int(reverse.size()))
            reverse[order[position]] = position;
    reverseStale = false;
}

int ReportModel::rowAt(int position) const
{
    if (position == fixedRowIndex)
        return fixedRowIndex;
    return position >= 0 && position < int(order.size()) ? order[position] : noRow;
}

int ReportModel::positionOf(int index) const
{
    if (index == fixedRowIndex)
        return fixedRowIndex;
    if (reverseStale)
        rebuildReverse();
    return index >= 0 && index < int(reverse.size()) ? reverse[index] : noRow;
}

bool ReportModel::setRowOrder(const std::vector<int>& newOrder)
{
    if (newOrder.size() != order.size())
        return false;
    std::vector<int> sorted = newOrder;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < int(sorted.size()); ++i)
        if (sorted[i] != i)
            return false;
    order = newOrder;
    reverseStale = true;
    return true;
}

bool ReportModel::moveRowUp(int position)
{
    if (position <= 0 || position >= int(order.size()))
        return false;
    std::swap(order[position], order[position - 1]);
    reverseStale = true;
    return true;
}

bool ReportModel::moveRowDown(int position) { return moveRowUp(position + 1); }

int ReportModel::findItem(const ReportFind& find, int col, int start) const
{
    const int count = getItemCount();
    if (col < 0 || col >= columnCount() || count == 0)
        return noRow;
    const bool backwards = find.flags & ReportFind::Backwards;
    const bool wrap = find.flags & ReportFind::Wrap;
    int i = start;
    for (int tried = 0; tried < count + 1; ++tried) {
        i += backwards ? -1 : 1;
        if (i < 0 || i >= count) {
            if (!wrap)
                return noRow;
            i = backwards ? count - 1 : 0;
        }
        if (i == start)
            return noRow;
        ReportItem item;
        item.row = i;
        item.subitem = col;
        item.mask = ReportMask::Text;
        if (!getItem(&item))
            continue;
        if (!(item.mask & ReportMask::Text))
            item.text.clear();
        if (find.flags & (ReportFind::Text | ReportFind::Prefix)) {
            bool same = (find.flags & ReportFind::Prefix) ? item.text.startsWith(find.text) : item.text == find.text;
            if (!same)
                continue;
        }
        if ((find.flags & ReportFind::Image) && item.image != find.image)
            continue;
        if ((find.flags & ReportFind::Check) && item.check != find.check)
            continue;
        return i;
    }
    return noRow;
}

void ReportModel::sortRange(int low, int high, const std::function<int(int, int)>& compare)
{
    while (low < high) {
        const int pivot = order[low + (high - low) / 2];
        int i = low - 1, j = high + 1;
        for (;;) {
            do
                ++i;
            while (compare(order[i], pivot) < 0);
            do
                --j;
            while (compare(order[j], pivot) > 0);
            if (i >= j)
                break;
            std::swap(order[i], order[j]);
        }
        // The smaller part by recursion, the larger by looping, so the stack stays shallow.
        if (j - low < high - j) {
            sortRange(low, j, compare);
            low = j + 1;
        } else {
            sortRange(j + 1, high, compare);
            high = j;
        }
    }
    reverseStale = true;
}

void ReportModel::setState(int index, int state)
{
    if (style & ReportStyle::OwnerData)
        return;
    if (ReportData* r = storedRow(index))
        r->state = state;
}

bool ReportModel::changeSelection(int index, bool selected, bool toggle, bool notify)
{
    const int old = stateOf(index);
    int state = toggle ? old ^ ReportState::Selected
                       : (selected ? old | ReportState::Selected : old & ~ReportState::Selected);
    if (state == old)
        return false;
    if (notify && listener && listener->selectionChanging(index, state) != 0)
        return false;
    if (state & ReportState::Selected)
        selection.insert(index);
    else
        selection.erase(index);
    setState(index, state);
    if (listener) {
        if (notify)
            listener->selectionChanged(index, state);
        listener->rowChanged(index);
    }
    return true;
}

void ReportModel::select(int from, int to, bool change, bool extend, bool toggle, bool notify)
{
    const int fromRow = rowAt(from);
    if (fromRow == noRow)
        return;
    if (fromRow != focusRow) {
        if (focusRow != noRow) {
            setState(focusRow, stateOf(focusRow) & ~ReportState::Focused);
            if (listener)
                listener->rowChanged(focusRow);
        }
        setState(fromRow, stateOf(fromRow) | ReportState::Focused);
        focusRow = fromRow;
        if (listener)
            listener->rowChanged(fromRow);
    }
    if (style & ReportStyle::SingleSelect)
        to = from;
    if (rowAt(to) == noRow)
        to = from;
    int low = std::min(from, to), high = std::max(from, to);
    if (!change)
        return;
    for (int position = low; position <= high; ++position)
        changeSelection(rowAt(position), true, toggle, notify);
    if ((style & ReportStyle::SingleSelect) || !extend) {
        const std::set<int> before = selection;
        for (int index : before) {
            int position = positionOf(index);
            if (position < low || position > high)
                changeSelection(index, false, false, notify);
        }
    }
}

int ReportModel::getFirstSelected() const { return selection.empty() ? noRow : *selection.begin(); }

int ReportModel::getNextSelected(int after) const
{
    auto next = selection.upper_bound(after);
    return next == selection.end() ? noRow : *next;
}

void ReportModel::cacheInvalidate()
{
    for (CacheEntry& e : cache)
        e.row = noRow - 1;
    fixedCache.row = noRow - 1;
}

const ReportData* ReportModel::ownerRow(int index, int subitem) const
{
    ReportData* r = ownerRowFromParent(index, subitem);
    // The parent stores no rows, so the control keeps their selection and
    // focus itself, whatever the parent answered for those two bits.
    if (r) {
        constexpr int own = ReportState::Focused | ReportState::Selected;
        r->state = (r->state & ~own) | (index == focusRow ? ReportState::Focused : 0)
                 | (selection.count(index) ? ReportState::Selected : 0);
    }
    return r;
}

ReportData* ReportModel::ownerRowFromParent(int index, int subitem) const
{
    if (index != fixedRowIndex && (index < 0 || index >= ownerCount))
        return nullptr;
    static CacheEntry scratch;
    CacheEntry& entry = !cacheEnabled ? scratch : index == fixedRowIndex ? fixedCache : cache[index & 127];
    const bool hit = cacheEnabled && entry.row == index;
    if (hit && (subitem < 0 || (subitem < int(entry.filled.size()) && entry.filled[subitem])))
        return &entry.data;
    if (!hit) {
        entry.row = index;
        entry.data = emptyRow();
        entry.filled.assign(columns.size(), false);
    }
    if (!listener || columns.empty())
        return &entry.data;
    const int asked = std::clamp(subitem, 0, columnCount() - 1);
    ReportItem request;
    request.row = index;
    request.subitem = asked;
    request.mask = ReportMask::Text | ReportMask::Colour | ReportMask::Image | ReportMask::Check |
                   ReportMask::Background | ReportMask::ExtraHeight | ReportMask::State | ReportMask::Data;
    request.textMax = 256;
    // The parent fills the request and clears the bits of what it leaves out.
    ReportItem answer = request;
    listener->requestRow(answer);
    ReportSubitem& s = entry.data.subitems[asked];
    if (answer.mask & ReportMask::Text)
        s.text = answer.text.left(255);
    if (answer.mask & ReportMask::Image)
        s.image = answer.image;
    if (answer.mask & ReportMask::Check)
        s.check = answer.check;
    if (answer.mask & ReportMask::Colour)
        s.colour = answer.colour;
    entry.data.background = (answer.mask & ReportMask::Background) ? answer.background : -1;
    entry.data.extraHeight = (answer.mask & ReportMask::ExtraHeight) ? answer.extraHeight : 0;
    entry.data.state = (answer.mask & ReportMask::State) ? answer.state : 0;
    entry.data.data = (answer.mask & ReportMask::Data) ? answer.data : 0;
    entry.filled[asked] = true;
    return &entry.data;
}
