#pragma once
// A translator's check of the dialogs: every dialog of the program is
// created in the current language, translated as in normal use, and every
// control whose text does not fit it is reported. Nothing in the running
// program calls it; its caller gets the report as text.
#include <map>
#include <string>

class QWidget;

class DialogTextChecker {
public:
    using IdMap = std::map<int, std::string>;

    // The "#define NAME number" lines of a resource header, by number; an
    // unreadable file gives an empty map.
    static IdMap readResourceIds(const std::string& headerPath);

    // Every dialog of the map (names beginning with "IDD_", in ascending
    // order) that exists as a template: created hidden with `owner` as its
    // owner, translated, checked and destroyed. A dialog's name, a line end
    // and its report lines for each dialog with a text too large, or with
    // the line "  The dialog cannot be checked: " and the reason when it
    // cannot be made (a control class not registered); empty when every text
    // of every dialog fits.
    static std::string checkAll(QWidget* owner, const IdMap& ids);

    // One report line for each visible text control of the dialog whose text
    // does not fit its control.
    static std::string checkDialog(QWidget* dialog, const IdMap& ids);
};

// 1 when the text control's text fits it, 0 when not, 2 for a window that
// is no text control.
int textFits(QWidget* window);
