#pragma once
// The editor of resuscitation guidelines: one algorithm at a time with its
// target values in masked fields, kept within their ranges when a field is
// left, and the compression share shown in percent or as the ratio
// compression : relaxation, as the settings choose.
#include "Database/AlgorithmTable.h"
#include "Database/NavigationButtons.h"
#include "Database/RecordEditorDialog.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class COXMaskedEdit;
class QLineEdit;

class AlgorithmDialog : public RecordEditorDialog<AlgorithmTable> {
public:
    // Opens on the algorithm of that name (a new entry of that name when
    // there is none), or without a name on the first algorithm. Delete is
    // offered only with `allowDelete`.
    AlgorithmDialog(const std::string& initialName, bool allowDelete, QWidget* parent = nullptr);
    ~AlgorithmDialog() override;

    // Creates the dialog and runs it modally.
    int doModal();

    // Where the editor learns whether shares show in percent (true) or as
    // ratios; by default in percent. The program points it at its settings.
    static void setPercentNotationSource(std::function<bool()> source);

    COXMaskedEdit* valueField(int id) const;
    QLineEdit* nameField() const;
    bool percentNotation() const { return percent; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    int helpContext() const override { return 10006; }

    void showRecord(const Algorithm& rec) override;
    Algorithm readRecord() override;
    bool isChanged() override;
    void enableButtons(int bits) override;
    std::wstring messageText(int number) override;
    void notifyChanged() override;
    void fillCombos() override;
    bool confirmUpdate() override { return true; }

private:
    void setValue(int id, double value);
    double value(int id) const;
    // A share field's value in percent, whatever the notation.
    double share(int id) const;
    // The stored share as its field would show it, read back (ratio notation).
    double shownShare(double stored);
    void rangeCheck();
    void complementUpdate();

    std::string initialName;
    bool allowDelete;
    bool percent = true;
    bool validating = false;
    AlgorithmTable algorithms;
    NavigationButtons navigation;
    std::map<int, std::unique_ptr<COXMaskedEdit>> fields;
};

// The editor as the main menu opens it: on the first algorithm, Delete allowed.
void runAlgorithmEditor(QWidget* parent);
// The editor as a "Details..." button opens it: on the name, no Delete; the
// name of the algorithm shown last.
std::string showAlgorithmDetails(QWidget* parent, const std::string& name);
