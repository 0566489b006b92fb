#include "config/ConfigurationDialog.h"

#include "comm/CalibrateManager.h"
#include "config/Configuration.h"
#include "platform/WindowStyles.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "ui/ControlGroup.h"
#include "ui/QtWindows.h"

ConfigurationDialog::ConfigurationDialog(PropertyFolderInterface* provider)
    : PropertyFolderDialog(provider, QIcon())
{
    portsChanged = CalibrateManager::get().connect(this, &ConfigurationDialog::updateControllerButtons);
}

ConfigurationDialog::~ConfigurationDialog() { SignalConnection::disconnect(portsChanged); }

bool ConfigurationDialog::onInitDialog()
{
    const bool result = PropertyFolderDialog::onInitDialog();
    updateControllerButtons();
    return result;
}

void ConfigurationDialog::updateControllerButtons()
{
    const bool show = CalibrateManager::get().countCPB() > 0;
    for (int id : { IDC_CONFIG_GET, IDC_CONFIG_SEND })
        if (QWidget* button = platform::dlgItem(this, id))
            button->setVisible(show);
}

bool ConfigurationDialog::onCommand(int id, int code)
{
    if (code == BN_CLICKED && id == IDC_CONFIG_GET) {
        Configuration::instance().getSetup(this);
        return true;
    }
    if (code == BN_CLICKED && id == IDC_CONFIG_SEND) {
        Configuration::instance().sendSetup(this);
        return true;
    }
    return PropertyFolderDialog::onCommand(id, code);
}

void ConfigurationDialog::onOK()
{
    if (setup.provider && !setup.provider->validateCurrentPage())
        return;
    // The edit copy now holds every change: offer it to the controllers
    // before it is committed. Cancelling the offer does not stop the OK.
    if (CalibrateManager::get().countCPB() > 0)
        Configuration::instance().sendSetup(this);
    PropertyFolderDialog::onOK();
}

LayoutItemHandle ConfigurationDialog::makeLayout()
{
    WindowHandle self = handleOf(this);
    HorizontalBox inner;
    if (setup.bitmapId != -1)
        inner.add(0, makeControlGroup(self, setup.bitmapId), 0.0);
    inner.add(1, makeControlGroup(self, setup.pageAreaId), 0.0);
    FramedItem framed;
    framed.setOuter(makeControlGroup(self, setup.tabId));
    framed.setInner(inner);

    auto windowsOf = [this](std::initializer_list<int> ids) {
        std::vector<WindowHandle> windows;
        for (int id : ids)
            if (id != -1)
                if (QWidget* button = platform::dlgItem(this, id))
                    windows.push_back(handleOf(button));
        return windows;
    };
    HorizontalBox buttons;
    buttons.add(1, makeControlGroupFromWindows(windowsOf({ IDC_CONFIG_GET, IDC_CONFIG_SEND })), 0.0);
    buttons.add(1, makeSpacer(0, 0), 0.0);
    buttons.add(0, makeControlGroupFromWindows(windowsOf({ IDOK, IDCANCEL, setup.helpId })), 0.0);

    VerticalBox all;
    all.add(1, framed, 0.0);
    all.add(0, buttons, 0.0);
    return all;
}
