#pragma once
// Helpers that the forms of every subsystem share: combo boxes filled and
// read by their texts, texts set only when they change, controls disabled or
// hidden without losing the keyboard focus, tooltip texts, the work area.
// Texts are narrow, in the ANSI code page.
#include "platform/WinTypes.h"

#include <QPointer>
#include <string>

class DialogTemplateEditor;
class QPlainTextEdit;
class QWidget;
namespace platform {
class ComboBox;
class Dialog;
}

namespace Utillib {

using platform::ComboBox;

// A drop-down list selects the item that equals the text, else the first item
// that begins with it ignoring case, else nothing new; an empty text clears
// the selection. Another combo box shows the text in its edit field.
void selectComboString(ComboBox* comboBox, const std::string& text);
// The selected item's text, or the shown text when nothing is selected or
// `fromEdit` is set.
std::string getComboText(ComboBox* comboBox, bool fromEdit = false);
// The target gets the source's items (sorted when it sorts) and keeps its text when it can.
void copyComboItems(ComboBox* source, ComboBox* target);

// Re-selects, when it goes, the text the combo box showed when it came, so
// that a refill keeps the user's choice.
class ComboSelectionKeeper {
public:
    explicit ComboSelectionKeeper(ComboBox* comboBox);
    ~ComboSelectionKeeper();
    ComboSelectionKeeper(const ComboSelectionKeeper&) = delete;
    ComboSelectionKeeper& operator=(const ComboSelectionKeeper&) = delete;

private:
    QPointer<ComboBox> comboBox;
    std::string text;
};

// The window text; empty for no window.
std::string getWindowText(const QWidget* window);
// Sets the text only when it differs, so no change is announced for nothing.
void setWindowTextIfChanged(QWidget* window, const std::string& text);
void setDlgItemTextIfChanged(QWidget* dialog, int controlId, const std::string& text);

bool isComboBox(const QWidget* window);
bool isDropDownList(const QWidget* window);

// The focus moves on to the next tab stop of the parent before the window is disabled or hidden.
void disableWithFocus(QWidget* window);
void enableWithFocus(QWidget* window, bool enable);
void showWithFocus(QWidget* window, bool show);

// The work area (the screen without panels) of the screen of the window, or
// of the application's main window when none is given.
RECT workArea(const QWidget* window);

// A tooltip's request for its text: narrow or wide, as the asker wants it.
struct ToolTipRequest {
    static constexpr int narrowCode = -520;
    static constexpr int wideCode = -530;
    int code = narrowCode;
    const char* narrowText = nullptr;
    const wchar_t* wideText = nullptr;
};
// Answers with a copy of at most 1023 bytes (narrow) or 511 characters
// (wide), good until the next call.
void setToolTipText(const std::wstring& text, ToolTipRequest& request);

// Dialogs from their templates with a smaller font when they would not fit:
// a template wider or higher than 0.8 of the work area gets the small-font
// rule ("Small Fonts" at 7 points where the character set is ANSI and that
// face exists, else 7 points in the template's own face, or in the default
// dialog face for a template without one). The dialog is created modeless;
// false when that fails.
bool createDialogFitted(platform::Dialog* dialog, int templateId, QWidget* parent);
// The same, run modally: the dialog's result, or IDCANCEL when the template is missing.
int doModalFitted(platform::Dialog* dialog, int templateId, QWidget* parent);
// The small-font rule applied whatever the size.
bool createDialogSmallFont(platform::Dialog* dialog, int templateId, QWidget* parent);
int doModalSmallFont(platform::Dialog* dialog, int templateId, QWidget* parent);
void applySmallFont(DialogTemplateEditor& editor);
// The rule on given answers about the character set and the fonts.
void applySmallFontRule(DialogTemplateEditor& editor, bool nonAnsiCharset, bool smallFontsExist);

// How a control's text sits in it, by its class and style.
struct ControlMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool isText = false;    // a control that shows its window text
    bool multiline = false; // the text wraps in the control's width
};
ControlMargins controlMargins(const QWidget* window);
// The window's text in its font, laid out in `width` (0: one line), less one pixel each way.
SIZE textExtent(const QWidget* window, int width);
// Grows the window by its text's extent and its margins (left and top added,
// right and bottom taken off), keeping its place.
void fitWindowToText(QWidget* window);

// Puts `newWindow` where the placeholder is: same parent, place and size, the
// placeholder's extended style and its WS_CHILD, WS_VISIBLE, WS_BORDER and
// WS_TABSTOP bits, the id, and the text "c".
bool createLikeControl(QWidget* placeholder, QWidget* newWindow, int controlId);

// A multi-line field takes no more than `limit` characters: what goes
// beyond (typed or pasted) is cut off, and the cursor keeps its place.
void limitText(QPlainTextEdit* edit, int limit);

// Shows Qt's wait cursor while the file helpers retry a file.
void installWaitCursor();

} // namespace Utillib
