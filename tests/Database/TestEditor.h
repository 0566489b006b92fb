#pragma once
// An algorithm editor without a window, for the tests of the editor logic:
// `shown` stands for its controls.
#include "Database/AlgorithmTable.h"
#include "Database/DatabaseDialog.h"

#include <functional>
#include <string>
#include <vector>

namespace dbtest {

class TestEditor : public DatabaseDialog<AlgorithmTable> {
public:
    TestEditor() { table = &algorithms; }

    void start()
    {
        algorithms.open("");
        fillCombos();
    }

    void showRecord(const Algorithm& rec) override { shown = rec; }
    Algorithm readRecord() override
    {
        Algorithm rec = shown;
        rec.Name = trimmed(shown.Name);
        rec.builtIn = record.builtIn;
        rec.pauseEccMax = record.pauseEccMax;
        return rec;
    }
    bool isChanged() override { return !(readRecord() == record); }
    void enableButtons(int bits) override { buttons = bits; }
    std::wstring messageText(int number) override { return L"prompt " + std::to_wstring(number); }
    void notifyChanged() override
    {
        ++notifications;
        tablePool.refresh(tableKind::Algorithm);
    }
    void fillCombos() override { ++fills; }
    bool confirmUpdate() override { return askBeforeUpdate; }
    void afterRemove(const Algorithm& removed) override
    {
        removedNames.push_back(removed.Name);
        if (onRemoved)
            onRemoved(removed);
    }

    const Algorithm& stored() const { return record; }
    using DatabaseDialog::changed;

    AlgorithmTable algorithms{database};
    Algorithm shown;
    int buttons = -1;
    int notifications = 0;
    int fills = 0;
    bool askBeforeUpdate = false;
    std::vector<std::string> removedNames;
    std::function<void(const Algorithm&)> onRemoved;
};

inline Algorithm named(const std::string& name, double eccRateHigh = 110)
{
    Algorithm a;
    a.Name = name;
    a.eccRateHigh = eccRateHigh;
    return a;
}

} // namespace dbtest
