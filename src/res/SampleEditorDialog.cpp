// A record editor laid out as the program's editors are: the quick-find box
// and the navigation buttons on top, the fields below them, the command
// buttons on the right. It edits an algorithm's name and its ECC rate; the
// tests of the editors' window side run on it.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable sampleEditorDialog()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD field = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    return DialogTable {
        IDD_SAMPLE_EDITOR, "¤Algorithm",
        DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0, 0, 339, 112,
        "DejaVu Sans", 8,
        {
            // id                            class       text                 style                                                                x    y   cx   cy
            { IDC_STATIC,                    "Static",   "¤&Quick Find",      label,                                                               7,   5,  70,  8 },
            { IDC_DB_QUICKFIND,              "ComboBox", "",                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT,  81,  3,  177, 75 },
            { IDC_DB_FIRST,                  "Button",   "|<",                button,                                                              263, 3,  15,  12 },
            { IDC_DB_PREVIOUS,               "Button",   "<",                 button,                                                              281, 3,  15,  12 },
            { IDC_DB_NEXT,                   "Button",   ">",                 button,                                                              300, 3,  15,  12 },
            { IDC_DB_LAST,                   "Button",   ">|",                button,                                                              318, 3,  15,  12 },
            { IDC_STATIC,                    "Static",   "",                  WS_VISIBLE | SS_ETCHEDHORZ,                                          6,   19, 327, 1 },
            { IDC_STATIC,                    "Static",   "¤Name",             label,                                                               7,   26, 70,  8 },
            { IDC_SAMPLE_EDITOR_NAME,        "Edit",     "",                  field,                                                               81,  24, 169, 12 },
            { IDC_STATIC,                    "Static",   "¤ECC rate",         label,                                                               7,   42, 70,  8 },
            { IDC_SAMPLE_EDITOR_RATE_LOW,    "Edit",     "",                  field,                                                               81,  40, 30,  12 },
            { IDC_STATIC,                    "Static",   "-",                 WS_VISIBLE | SS_CENTER,                                              113, 42, 8,   8 },
            { IDC_SAMPLE_EDITOR_RATE_HIGH,   "Edit",     "",                  field,                                                               123, 40, 30,  12 },
            { IDC_STATIC,                    "Static",   "¤/min",             label,                                                               157, 42, 30,  8 },
            { IDC_DB_NEW,                    "Button",   "¤&New algorithm",   button,                                                              259, 23, 77,  14 },
            { IDC_DB_DELETE,                 "Button",   "¤&Delete algorithm", button,                                                             259, 40, 77,  14 },
            { IDC_DB_SAVE,                   "Button",   "¤&Save changes",    button,                                                              259, 57, 77,  14 },
            { IDC_DB_DISCARD,                "Button",   "¤Disc&ard changes", button,                                                              259, 74, 77,  14 },
            { IDC_DB_HELP,                   "Button",   "¤Help",             button,                                                              181, 94, 77,  14 },
            { IDCANCEL,                      "Button",   "¤&Close",           button,                                                              259, 94, 77,  14 },
        },
    };
}

} // namespace res
