#pragma once
// The configuration dialog: the property folder of the settings pages with
// "Get from CPR Controller..." and "Send to CPR Controller...", shown only
// while the port table lists a CPR Controller.
#include "propertyPage/PropertyFolderDialog.h"
#include "Utillib/Signal.h"

class ConfigurationDialog : public PropertyFolderDialog, public SignalReceiver {
public:
    explicit ConfigurationDialog(PropertyFolderInterface* provider);
    ~ConfigurationDialog() override;

    void updateControllerButtons();
    LayoutItemHandle makeLayout() override;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    SignalConnection* portsChanged = nullptr;
};
