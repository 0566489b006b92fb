#pragma once
// What the database layer needs from the window layer, as small interfaces
// that the window layer implements: message boxes, the wait cursor and combo
// boxes. Without a window layer, boxes are logged and answered without
// harm, and the wait cursor does nothing.
#include <string>

namespace dbui {

// Message box buttons, icons and default button, and the answers.
enum : unsigned {
    MB_OK = 0x0,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // The application's message box with its title; returns the button pressed.
    virtual int messageBox(const std::wstring& text, unsigned flags) = 0;
    // The same with a caption of its own in place of the application's title;
    // a window layer that cannot show one shows the text alone.
    virtual int messageBox(const std::wstring& text, const std::wstring& /*caption*/, unsigned flags)
    {
        return messageBox(text, flags);
    }
    virtual void beginWaitCursor() {}
    virtual void endWaitCursor() {}
};

// The interface in use: the one installed, else the logging stand-in.
UserInterface& userInterface();
// Installs an interface (not owned); nullptr restores the stand-in.
void setUserInterface(UserInterface* replacement);

// Shows the wait cursor for its lifetime.
class WaitCursor {
public:
    WaitCursor() { userInterface().beginWaitCursor(); }
    ~WaitCursor() { userInterface().endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A combo box as the tables fill it: its text, its list, and selecting an entry.
class ComboBox {
public:
    virtual ~ComboBox() = default;
    virtual std::string getText() const = 0;
    virtual void resetContent() = 0;
    virtual void addString(const std::string& text) = 0;
    // Selects the entry with this text; false, selecting nothing, when there is none.
    virtual bool selectString(const std::string& text) = 0;
};

} // namespace dbui
