#pragma once
// The editor of persons: one person at a time with address, phone, degree,
// courses, resuscitations, the instructor mark and notes.
#include "Database/NavigationButtons.h"
#include "Database/PersonTable.h"
#include "Database/RecordEditorDialog.h"

#include <string>

class PersonDialog : public RecordEditorDialog<PersonTable> {
public:
    // Opens on the person of that name, or on a new entry of that name (an
    // instructor with `instructor`) when there is none; an empty name
    // starts a new, empty entry. Delete is offered only with `allowDelete`.
    PersonDialog(const std::string& initialName, bool instructor, bool allowDelete, QWidget* parent = nullptr);
    ~PersonDialog() override;

    // Creates the dialog and runs it modally.
    int doModal();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    int helpContext() const override { return 10009; }

    void showRecord(const PersonRecord& rec) override;
    PersonRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(int bits) override;
    std::wstring messageText(int number) override;
    void notifyChanged() override;
    void fillCombos() override;

private:
    std::string text(int id) const;
    bool instructorChecked() const;

    std::string initialName;
    bool instructor;
    bool allowDelete;
    PersonTable persons;
    NavigationButtons navigation;
};

// The editor as the main menu opens it: a new entry, Delete allowed.
void runPersonEditor(QWidget* parent);
// The editor as a "Details..." button opens it: on the name (a new
// instructor of that name from an instructor's box), no Delete; the name
// of the person shown last.
std::string showPersonDetails(QWidget* parent, const std::string& name, bool instructor);
