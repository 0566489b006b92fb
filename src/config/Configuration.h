#pragma once
// The program's settings: read through getModel everywhere, loaded from
// "configuration.cprcfg" when first used, saved at exit, and edited in the
// configuration dialog as a copy that OK commits and Cancel discards.
#include "config/PropertyModel.h"
#include "propertyPage/PropertyFolderController.h"
#include "Utillib/Signal.h"

#include <memory>
#include <string>

class QWidget;
class SetupTransfer;

class Configuration : public virtual SignalReceiver {
public:
    static Configuration& instance();

    // The committed settings.
    const PropertyModel& getModel() const { return controller.getModel(); }

    // Runs the configuration dialog modally over `parent` (the main window
    // when null), starting on page `firstPage` (0 General ... 4 CPR
    // Controller). This is the one entry point of the menu commands.
    void showDialog(int firstPage, QWidget* parent = nullptr);
    // Writes the settings to the file; at exit.
    bool save();
    // Offers the edit copy to the CPR Controllers; does nothing while no
    // transfer is registered.
    void sendSetup(QWidget* parent);
    // Replaces the edit copy with a CPR Controller's setup.
    void getSetup(QWidget* parent);
    // The current page stored into the edit copy, which is returned.
    const PropertyModel& getEditModel();

    // The CPR Controller subsystem registers itself here (null removes it).
    void setTransfer(SetupTransfer* transfer) { setupTransfer = transfer; }
    SetupTransfer* transfer() const { return setupTransfer; }

    // Loads the settings from `path`; a missing or refused file leaves the
    // defaults. A refused file is put aside before the next save.
    void load(const std::string& path);
    // Saves to `path`.
    bool saveTo(const std::string& path);

    PropertyFolderController<PropertyModel>& getController() { return controller; }

    Signal<> dialogClosed;

    Configuration();
    ~Configuration() override;
    Configuration(const Configuration&) = delete;
    Configuration& operator=(const Configuration&) = delete;

private:
    // The measurement reads its settings from its own copy.
    void publish();

    PropertyFolderController<PropertyModel> controller;
    SetupTransfer* setupTransfer = nullptr;
    std::string refusedFile;
};
