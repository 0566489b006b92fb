// The About box: the program's icon, its name and version, the build line
// (filled in when the box opens) and what the program is for.
#include "res/Dialogs.h"
#include "res/ProgramVersion.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable aboutDialog()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    return DialogTable {
        IDD_ABOUTBOX, "¤About Tavo CPR Software",
        DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0, 0, 235, 92,
        "DejaVu Sans", 8,
        {
            // id                   class     text                                                         style                                   x    y    cx   cy
            { IDC_ABOUT_ICON,       "Static", "",                                                          WS_VISIBLE | SS_LEFT,                   10,  10,  24,  24 },
            { IDC_STATIC,           "Static", "Tavo CPR Software " TAVO_VERSION,                          label,                                  44,  10,  180, 8 },
            { IDC_ABOUT_BUILD,      "Static", "",                                                          label,                                  44,  22,  180, 8 },
            { IDC_STATIC,           "Static", "¤A training station for CPR courses: it follows instrumented manikins live and shows a debriefing against a resuscitation guideline.",
                                                                                                           label,                                  44,  36,  180, 26 },
            { IDOK,                 "Button", "¤OK",                                                       WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 174, 70, 50, 14 },
        },
    };
}

} // namespace res
