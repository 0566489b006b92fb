#pragma once
// The database layer's message boxes, wait cursor and combo boxes on the
// window side: the application's message box with its title and the
// buttons, icon and default button that the flags ask for, the wait cursor
// over the whole application, and the dialogs' combo boxes.
#include "Database/DbUi.h"

#include <functional>
#include <string>

class QMessageBox;
namespace platform {
class ComboBox;
}

namespace dbui {

class QtUserInterface : public UserInterface {
public:
    int messageBox(const std::wstring& text, unsigned flags) override;
    int messageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
};

// Makes the window side the database layer's interface for the rest of the run.
void installQtUserInterface();

// Where a box is shown: by default it runs modally. Tests install a hook that
// looks at the box and answers with a QMessageBox::StandardButton; an empty
// hook restores the default.
using MessageBoxHook = std::function<int(QMessageBox& box)>;
void setMessageBoxHook(MessageBoxHook hook);

// A dialog's combo box as the tables fill it; texts in the ANSI code page.
class QtComboBox : public ComboBox {
public:
    explicit QtComboBox(platform::ComboBox* comboBox)
        : combo(comboBox)
    {
    }
    std::string getText() const override;
    void resetContent() override;
    void addString(const std::string& text) override;
    // Selects as the program's combo helper does (the exact text, else the
    // first that begins with it); true when the box now shows the text.
    bool selectString(const std::string& text) override;

private:
    platform::ComboBox* combo;
};

} // namespace dbui
