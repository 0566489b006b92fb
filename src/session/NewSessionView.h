#pragma once
// The "New session" form: the instructor picks a scenario (which presets the
// algorithm, duration, event registration and training mode), may change
// each of them, picks a calibrated free manikin and names the participants;
// Continue starts a live session on that manikin and hides the form, which
// keeps its choices for the next session. Its decisions are NewSession's.
#include "Database/ScenarioTable.h"
#include "Utillib/Signal.h"
#include "session/NewSessionStation.h"
#include "ui/BaseDialog.h"

class QAbstractButton;
namespace platform {
class ComboBox;
}

class NewSessionView : public BaseDialog, public NewSessionStation, public SignalReceiver {
public:
    static constexpr int helpContext = 10001;

    explicit NewSessionView(QWidget* parent = nullptr);
    ~NewSessionView() override;

    bool create(QWidget* parent) override;
    void onParentShow(bool show, int status) override;
    void showHelp() override;

    // NewSessionHost: what only the form does.
    void message(const std::wstring& text, const std::wstring& caption) override;
    void refillPorts() override;
    void openCalibrate() override;
    void startSession(const SessionRecord& record, const Algorithm& algorithm, bool registerEvents) override;

    // The choices as the controls hold them.
    NewSessionSettings settings() const;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    // Continue: the form stays (hidden after a started session).
    void onOK() override;
    // Escape: the form is hidden, nothing else changes.
    void onCancel() override;

private:
    void fillLists();
    void applyScenario(const ScenarioRecord& scenario);
    void checkScenarioMatch();
    void adaptParticipants();
    void copyVentilationName(const std::string& name);
    void scenarioDetails();
    void algorithmDetails();
    void personDetails(platform::ComboBox* field);
    void onPortsChanged();
    void onSessionsChanged();

    platform::ComboBox* durationCombo = nullptr;
    platform::ComboBox* algorithmCombo = nullptr;
    platform::ComboBox* trainingModeCombo = nullptr;
    platform::ComboBox* scenarioCombo = nullptr;
    platform::ComboBox* compressionPersonCombo = nullptr;
    platform::ComboBox* ventilationPersonCombo = nullptr;
    QAbstractButton* registerEventsCheck = nullptr;
    platform::ComboBox* manikinCombo = nullptr;
    // Open while the form lives, for the scenarios' settings by name.
    ScenarioTable scenarioTable;
};
