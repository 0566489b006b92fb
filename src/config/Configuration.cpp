#include "config/Configuration.h"

#include "comm/MeasurementSettings.h"
#include "config/ConfigurationDialog.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationPages.h"
#include "config/PropertyPage4.h"
#include "config/SetupTransfer.h"
#include "platformqt/AppIcon.h"
#include "res/resource.h"
#include "ui/AppServices.h"

Configuration& Configuration::instance()
{
    static Configuration configuration;
    return configuration;
}

Configuration::Configuration() { load(ConfigurationFile::fileName); }

Configuration::~Configuration() = default;

void Configuration::load(const std::string& path)
{
    PropertyModel model;
    switch (ConfigurationFile::load(path, model)) {
    case ConfigurationFile::LoadResult::loaded:
        controller.setModel(model);
        refusedFile.clear();
        break;
    case ConfigurationFile::LoadResult::missing:
        refusedFile.clear();
        break;
    case ConfigurationFile::LoadResult::refused:
        refusedFile = path;
        break;
    }
    publish();
}

bool Configuration::save() { return saveTo(ConfigurationFile::fileName); }

bool Configuration::saveTo(const std::string& path)
{
    if (refusedFile == path) {
        ConfigurationFile::keepRefusedFile(path);
        refusedFile.clear();
    }
    return ConfigurationFile::saveFile(path, controller.getModel());
}

void Configuration::publish()
{
    const PropertyModel& m = controller.getModel();
    MeasurementSettings settings;
    settings.overrideDepth = m.overrideDepth;
    settings.depthLow = m.depthLow;
    settings.depthHigh = m.depthHigh;
    settings.cardiacOutputPerCompression = m.cardiacOutputPerCompression;
    settings.cardiacOutputPerWrongHand = m.cardiacOutputPerWrongHand;
    settings.cardiacOutputLow = m.cardiacOutputLow;
    settings.cardiacOutputHigh = m.cardiacOutputHigh;
    settings.maxPause = m.maxPause;
    MeasurementSettings::set(settings);
}

void Configuration::showDialog(int firstPage, QWidget* parent)
{
    if (!parent && appServices())
        parent = appServices()->mainWindow();
    // The pages are windows: they exist only while the dialog does, so that
    // this object holds no window when the program ends.
    GeneralPage general;
    Debriefing1Page debriefing1;
    Debriefing2Page debriefing2;
    PrintPage print;
    PropertyPage4 controllerPage;
    controller.addPage(&general, &general);
    controller.addPage(&debriefing1, &debriefing1);
    controller.addPage(&debriefing2, &debriefing2);
    controller.addPage(&print, &print);
    controller.addPage(&controllerPage, &controllerPage);
    {
        ConfigurationDialog dialog(&controller);
        PropertyFolderSetup setup;
        setup.firstPage = firstPage;
        setup.templateId = IDD_CONFIGURATION;
        setup.tabId = IDC_FOLDER_TABS;
        setup.bitmapId = IDC_FOLDER_PICTURE;
        setup.pageAreaId = IDC_FOLDER_PAGE_AREA;
        setup.helpId = IDC_FOLDER_HELP;
        setup.provider = &controller;
        setup.icon = platform::applicationIcon();
        dialog.configure(setup);
        dialog.show(parent, true);
    }
    controller.removePages();
    publish();
    dialogClosed.emit();
}

const PropertyModel& Configuration::getEditModel()
{
    controller.validateCurrentPage();
    return controller.getEditModel();
}

void Configuration::sendSetup(QWidget* parent)
{
    controller.validateCurrentPage();
    if (setupTransfer)
        setupTransfer->sendSetup(controller.getEditModel(), parent);
}

void Configuration::getSetup(QWidget* parent)
{
    controller.validateCurrentPage();
    PropertyModel copy = controller.getEditModel();
    if (setupTransfer)
        setupTransfer->getSetup(copy, parent);
    controller.setEditModel(copy);
}
