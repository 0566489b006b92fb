#pragma once
// Message boxes and the wait cursor for tests: boxes are recorded and
// answered from a script, then with the answer that changes nothing.
#include "Database/Database.h"
#include "Database/DbUi.h"

#include <deque>
#include <string>
#include <vector>

namespace dbtest {

class FakeUi : public dbui::UserInterface {
public:
    struct Box {
        std::wstring text;
        unsigned flags;
        // the program's connection had a transaction open while the box waited
        bool duringTransaction;
        std::wstring caption = std::wstring();
    };
    FakeUi() { dbui::setUserInterface(this); }
    ~FakeUi() override { dbui::setUserInterface(nullptr); }
    FakeUi(const FakeUi&) = delete;
    FakeUi& operator=(const FakeUi&) = delete;

    int messageBox(const std::wstring& text, unsigned flags) override
    {
        boxes.push_back({text, flags, database.inTransaction()});
        if (!answers.empty()) {
            int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        unsigned buttons = flags & 0xF;
        return buttons == dbui::MB_YESNOCANCEL ? dbui::IDCANCEL : buttons == dbui::MB_YESNO ? dbui::IDNO : dbui::IDOK;
    }
    int messageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) override
    {
        int answer = messageBox(text, flags);
        boxes.back().caption = caption;
        return answer;
    }
    void beginWaitCursor() override { ++waitDepth; }
    void endWaitCursor() override { --waitDepth; }

    std::vector<Box> boxes;
    std::deque<int> answers;
    int waitDepth = 0;
};

} // namespace dbtest
