// The property folder: a placeholder for its tabs, a picture and the page
// area inside them, and the buttons below.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable propertyFolderDialog()
{
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP;
    return DialogTable {
        IDD_PROPERTY_FOLDER, "¤Configuration",
        DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
        0, 0, 300, 200,
        "DejaVu Sans", 8,
        {
            // id                    class     text        style                           x    y    cx   cy
            { IDC_FOLDER_TABS,       "Static", "",         WS_VISIBLE,                     7,   7,   286, 166 },
            { IDC_FOLDER_PICTURE,    "Static", "#25505",   WS_VISIBLE | SS_BITMAP,         12,  26,  40,  80 },
            { IDC_FOLDER_PAGE_AREA,  "Static", "",         WS_VISIBLE,                     58,  26,  230, 142 },
            { IDOK,                  "Button", "¤OK",      button | WS_GROUP | BS_DEFPUSHBUTTON, 133, 179, 50, 14 },
            { IDCANCEL,              "Button", "¤Cancel",  button | BS_PUSHBUTTON,         188, 179, 50,  14 },
            { IDC_FOLDER_HELP,       "Button", "¤Help",    button | BS_PUSHBUTTON,         243, 179, 50,  14 },
        },
    };
}

} // namespace res
