#pragma once
// Reads the standard menu template: a header of two 16-bit words (version 0,
// offset of the items), then items; a popup is its option word with MF_POPUP
// and its text, followed by its own items; a command is its option word, its
// 16-bit command id and its text; MF_END marks the last item of each level.
#include "platform/WinTypes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The header in front of the items.
struct MENUITEMTEMPLATEHEADER {
    WORD versionNumber;
    WORD offset;
};

namespace platform {

struct MenuTemplateItem {
    WORD options = 0;
    WORD id = 0;
    std::u16string text;
    std::vector<MenuTemplateItem> items; // a popup's items

    bool isPopup() const;
    // Option 0, id 0 and no text, or the separator option.
    bool isSeparator() const;
};

// The items of the menu bar; empty when the bytes end before every level is
// closed, or when popups nest deeper than any menu we build.
std::optional<std::vector<MenuTemplateItem>> parseMenuTemplate(const unsigned char* data, std::size_t size);

} // namespace platform
