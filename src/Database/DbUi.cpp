#include "Database/DbUi.h"

#include "Utillib/LogStream.h"

namespace dbui {

namespace {

// No window yet: the box goes to the error log and gets the answer that
// changes nothing (No, or Cancel where there is one).
class LoggingInterface : public UserInterface {
public:
    int messageBox(const std::wstring& text, unsigned flags) override
    {
        LogStream::instance() << "Message box: " << text << LogStream::endl;
        switch (flags & 0xF) {
        case MB_YESNOCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        default:
            return IDOK;
        }
    }
};

LoggingInterface standIn;
UserInterface* current = nullptr;

} // namespace

UserInterface& userInterface() { return current ? *current : standIn; }

void setUserInterface(UserInterface* replacement) { current = replacement; }

} // namespace dbui
