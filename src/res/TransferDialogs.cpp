// The CPR Controller transfer's windows: the selectors of the controllers to
// send to or to read from, and the progress window of one transfer.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

namespace {

constexpr DWORD tabStop = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD selectorStyle = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DialogTable selector(int id, const char* caption, const char* label, int listId, const char* listClass, DWORD listStyle)
{
    return DialogTable {
        id, caption, selectorStyle,
        0, 0, 186, 118,
        "DejaVu Sans", 8,
        {
            // id                 class       text          style                                                      x    y    cx   cy
            { IDC_SELECTOR_LABEL, "Static",   label,        WS_VISIBLE | SS_LEFT,                                      7,   7,   118, 16 },
            { listId,             listClass,  "",           tabStop | WS_GROUP | WS_BORDER | WS_VSCROLL | listStyle,  7,   26,  118, 85 },
            { IDOK,               "Button",   "¤OK",        tabStop | WS_GROUP | BS_DEFPUSHBUTTON,                     131, 7,   50,  14 },
            { IDCANCEL,           "Button",   "¤Cancel",    tabStop | BS_PUSHBUTTON,                                   131, 25,  50,  14 },
        },
    };
}

} // namespace

DialogTable getSelectorDialog()
{
    return selector(IDD_GET_SELECTOR, "¤Get setup from CPR Controller", "¤Select CPR Controller:",
                    IDC_SELECTOR_GET_LIST, "ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
}

DialogTable sendSelectorDialog()
{
    return selector(IDD_SEND_SELECTOR, "¤Send setup to CPR Controller", "¤Select CPR Controller(s) to update:",
                    IDC_SELECTOR_SEND_LIST, "CheckListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
}

DialogTable transferProgressDialog()
{
    return DialogTable {
        IDD_TRANSFER_PROGRESS, "¤Sending data to CPB",
        DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0, 0, 220, 74,
        "DejaVu Sans", 8,
        {
            // id                    class                 text         style                               x    y    cx   cy
            { IDC_PROGRESS_TEXT,     "Static",             "",          WS_VISIBLE | SS_LEFT,               7,   7,   206, 18 },
            { IDC_PROGRESS_BAR,      "msctls_progress32",  "",          WS_VISIBLE | WS_BORDER,             7,   29,  176, 12 },
            { IDC_PROGRESS_PERCENT,  "Static",             "",          WS_VISIBLE | SS_RIGHT,              186, 31,  27,  8 },
            { IDCANCEL,              "Button",             "¤&Cancel",  tabStop | WS_GROUP | BS_PUSHBUTTON, 85,  53,  50,  14 },
        },
    };
}

} // namespace res
