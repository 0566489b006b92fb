#include "gettext/GetTextMenu.h"

#include "Utillib/LogStream.h"
#include "platform/DialogTemplate.h"
#include "platform/MenuTemplate.h"
#include "platform/WindowStyles.h"
#include "platformqt/Menu.h"

#include <QMenuBar>

GetTextMenu::GetTextMenu()
{
    for (int& offset : itemOffset)
        offset = -1; // no item at that level yet
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsign-compare"
    LOG_ASSERT(templateMaxSize>sizeof(MENUITEMTEMPLATEHEADER));
#pragma GCC diagnostic pop
    buffer.assign(static_cast<std::size_t>(templateMaxSize), 0);
    // The header, version 0 and offset 0, is already there as zeros.
    templateIndex = sizeof(MENUITEMTEMPLATEHEADER);
    currentItemLevel = 0;
}

void GetTextMenu::putWord(int at, unsigned value)
{
    buffer[static_cast<std::size_t>(at)] = static_cast<unsigned char>(value & 0xFF);
    buffer[static_cast<std::size_t>(at) + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

void GetTextMenu::reserve(int bytes)
{
    int size = templateMaxSize;
    while (templateIndex + bytes >= size)
        size *= 2;
    if (size != templateMaxSize)
        resize(size);
}

void GetTextMenu::markEnd(int level)
{
    int at = itemOffset[level];
    buffer[static_cast<std::size_t>(at)] |= MF_END;
}

void GetTextMenu::addItem(const std::wstring& text, int commandId, bool isPopup)
{
    if (isPopup) {
        // The level the popup would open.
        const int currentItemLevel = this->currentItemLevel + 1;
        LOG_ASSERT(currentItemLevel<MAX_MENU_LEVEL);
        if (!(currentItemLevel < MAX_MENU_LEVEL))
            return; // refused: there is no room to record a deeper level
    }
    std::u16string units = platform::wideToUtf16(text);
    int size = (isPopup ? 2 : 4) + 2 * static_cast<int>(units.size()) + 2;
    reserve(size);

    itemOffset[currentItemLevel] = templateIndex;
    int at = templateIndex;
    if (isPopup) {
        putWord(at, MF_POPUP);
        at += 2;
    } else {
        putWord(at, 0);
        putWord(at + 2, static_cast<unsigned>(commandId));
        at += 4;
    }
    for (char16_t unit : units) {
        putWord(at, unit);
        at += 2;
    }
    putWord(at, 0);
    templateIndex += size;
    if (isPopup) {
        ++currentItemLevel;
        itemOffset[currentItemLevel] = -1;
    }
    LOG_ASSERT(templateIndex < templateMaxSize);
}

void GetTextMenu::addSeparator()
{
    reserve(6);
    itemOffset[currentItemLevel] = templateIndex;
    putWord(templateIndex, 0);
    putWord(templateIndex + 2, 0);
    putWord(templateIndex + 4, 0);
    templateIndex += 6;
}

void GetTextMenu::endPopup()
{
    {
        // The level the popup's parent is at.
        const int currentItemLevel = this->currentItemLevel - 1;
        LOG_ASSERT(currentItemLevel>=0);
        if (currentItemLevel < 0)
            return; // the menu bar itself cannot be left
    }
    // A popup needs an item; an empty one gets a separator so the template stays whole.
    LOG_ASSERT(itemOffset[currentItemLevel]>=0);
    if (itemOffset[currentItemLevel] < 0)
        addSeparator();
    markEnd(currentItemLevel);
    --currentItemLevel;
}

std::unique_ptr<QMenuBar> GetTextMenu::createMenu()
{
    LOG_ASSERT(currentItemLevel==0);
    // Close what is still open, so that the template has an end at every level.
    while (currentItemLevel > 0) {
        if (itemOffset[currentItemLevel] < 0)
            addSeparator();
        markEnd(currentItemLevel);
        --currentItemLevel;
    }
    if (itemOffset[0] >= 0)
        markEnd(0);
    auto hMenu = platform::loadMenuIndirect(buffer.data(), static_cast<std::size_t>(templateIndex));
    LOG_ASSERT(hMenu!=0);
    return hMenu;
}

void GetTextMenu::resize(int newSize)
{
    if (newSize <= templateIndex)
        return;
    std::vector<unsigned char> larger(static_cast<std::size_t>(newSize), 0);
    std::copy(buffer.begin(), buffer.begin() + templateIndex, larger.begin());
    buffer.swap(larger);
    templateMaxSize = newSize;
}
