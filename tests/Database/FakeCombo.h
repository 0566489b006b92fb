#pragma once
#include "Database/DbUi.h"

#include <algorithm>
#include <string>
#include <vector>

namespace dbtest {

// A combo box as a list of entries and the text shown.
class FakeCombo : public dbui::ComboBox {
public:
    std::string getText() const override { return text; }
    void resetContent() override
    {
        entries.clear();
        text.clear();
    }
    void addString(const std::string& entry) override { entries.push_back(entry); }
    bool selectString(const std::string& entry) override
    {
        if (std::find(entries.begin(), entries.end(), entry) == entries.end())
            return false;
        text = entry;
        return true;
    }

    std::vector<std::string> entries;
    std::string text;
};

} // namespace dbtest
