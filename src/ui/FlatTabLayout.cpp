#include "ui/FlatTabLayout.h"

#include <algorithm>

namespace {
constexpr int margin = 3;
constexpr int iconSize = 16;
constexpr int step = 8;
constexpr int reserve = 10;
constexpr int narrowTab = 32;
} // namespace

int flatTabNaturalWidth(int textWidth, bool hasIcon)
{
    int width = textWidth + 2 * margin + 4;
    if (hasIcon)
        width += margin + iconSize;
    return std::max(width, margin + 8);
}

void layoutFlatTabs(std::vector<FlatTabPlace>& tabs, int total, int available)
{
    const int count = static_cast<int>(tabs.size());
    if (count == 0)
        return;
    auto widest = [&] {
        int found = 0;
        for (int i = 1; i < count; ++i)
            if (tabs[i].width > tabs[found].width)
                found = i;
        return found;
    };
    if (total > available) {
        const int perTab = available / count;
        if (perTab <= narrowTab) {
            for (int i = 0; i < count - 1; ++i)
                tabs[i].width = perTab;
            tabs[count - 1].width = available - (1 + (count - 1) * perTab);
        } else {
            int excess = total - available;
            while (excess > 0) {
                FlatTabPlace& tab = tabs[widest()];
                if (tab.width <= 0)
                    break;
                int cut = std::min(step, tab.width);
                tab.width -= cut;
                excess -= cut;
            }
        }
    } else {
        int slack = available - total - reserve;
        while (slack > 0) {
            int wide = widest();
            int narrow = 0;
            for (int i = 1; i < count; ++i)
                if (tabs[i].width < tabs[narrow].width)
                    narrow = i;
            if (tabs[wide].width == tabs[narrow].width)
                break;
            int grow = std::min(step, tabs[wide].width - tabs[narrow].width);
            tabs[narrow].width += grow;
            slack -= grow;
        }
    }
    int left = 1;
    for (FlatTabPlace& tab : tabs) {
        tab.left = left;
        left += tab.width;
    }
}

QString shortenTabText(const QString& text, int room, const std::function<int(const QString&)>& width)
{
    if (width(text) <= room)
        return text;
    const QString dots = QStringLiteral("...");
    for (qsizetype keep = text.size() - 1; keep > 1; --keep) {
        QString shorter = text.left(keep) + dots;
        if (width(shorter) <= room)
            return shorter;
    }
    QString cut = text.size() > 1 ? text.left(1) + dots : text;
    while (!cut.isEmpty() && width(cut) > room)
        cut.chop(1);
    return cut;
}
