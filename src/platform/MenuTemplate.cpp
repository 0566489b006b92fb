#include "platform/MenuTemplate.h"

#include "platform/WindowStyles.h"

namespace platform {

namespace {

constexpr int deepestLevel = 32;

struct Cursor {
    const unsigned char* data;
    std::size_t size;
    std::size_t at = 0;

    bool word(WORD& value)
    {
        if (size - at < 2)
            return false;
        value = static_cast<WORD>(data[at] | (data[at + 1] << 8));
        at += 2;
        return true;
    }
    bool text(std::u16string& out)
    {
        WORD unit = 0;
        while (word(unit)) {
            if (unit == 0)
                return true;
            out.push_back(static_cast<char16_t>(unit));
        }
        return false;
    }
};

bool readLevel(Cursor& in, std::vector<MenuTemplateItem>& items, int level)
{
    if (level > deepestLevel)
        return false;
    for (;;) {
        MenuTemplateItem item;
        if (!in.word(item.options))
            return false;
        if (!(item.options & MF_POPUP) && !in.word(item.id))
            return false;
        if (!in.text(item.text))
            return false;
        if ((item.options & MF_POPUP) && !readLevel(in, item.items, level + 1))
            return false;
        bool last = item.options & MF_END;
        items.push_back(std::move(item));
        if (last)
            return true;
    }
}

} // namespace

bool MenuTemplateItem::isPopup() const { return options & MF_POPUP; }

bool MenuTemplateItem::isSeparator() const
{
    return !isPopup() && ((options & MF_SEPARATOR) || (id == 0 && text.empty()));
}

std::optional<std::vector<MenuTemplateItem>> parseMenuTemplate(const unsigned char* data, std::size_t size)
{
    if (!data)
        return std::nullopt;
    Cursor in { data, size };
    WORD version = 0, offset = 0;
    if (!in.word(version) || !in.word(offset) || version != 0 || size - in.at < offset)
        return std::nullopt;
    in.at += offset;
    std::vector<MenuTemplateItem> items;
    if (!readLevel(in, items, 0))
        return std::nullopt;
    return items;
}

} // namespace platform
