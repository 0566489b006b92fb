#pragma once
// The editor of scenarios: one scenario at a time with its duration,
// algorithm, training mode and event registration; "Details..." opens the
// algorithm editor on the chosen algorithm, "Edit events..." the scenario's
// event list after saving the scenario.
#include "Database/NavigationButtons.h"
#include "Database/RecordEditorDialog.h"
#include "Database/ScenarioTable.h"

#include <string>

namespace platform {
class ComboBox;
}

class ScenarioDialog : public RecordEditorDialog<ScenarioTable> {
public:
    // Opens on the stored scenario of the record's name, else on a new
    // entry with the record's values. Delete is offered only with `allowDelete`.
    ScenarioDialog(const ScenarioRecord& start, bool allowDelete, QWidget* parent = nullptr);
    ~ScenarioDialog() override;

    // Creates the dialog and runs it modally.
    int doModal();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    int helpContext() const override { return 10010; }

    void showRecord(const ScenarioRecord& rec) override;
    ScenarioRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(int bits) override;
    std::wstring messageText(int number) override;
    void notifyChanged() override;
    void fillCombos() override;

private:
    platform::ComboBox* durationBox() const;
    platform::ComboBox* algorithmBox() const;
    platform::ComboBox* modeBox() const;
    bool registerChecked() const;
    void showAlgorithmDetails();
    void editEvents();

    ScenarioRecord start;
    bool allowDelete;
    ScenarioTable scenarios;
    NavigationButtons navigation;
};

// The editor as the main menu opens it: a new entry, Delete allowed.
void runScenarioEditor(QWidget* parent);
// The editor as a "Details..." button opens it: on the record's name (a new
// entry with the record's values when there is none), no Delete; the name
// of the scenario shown last.
std::string showScenarioDetails(QWidget* parent, const ScenarioRecord& scenario);
