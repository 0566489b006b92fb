#pragma once
// The settings pages General, Debriefing 1, Debriefing 2 and Print, and the
// field exchange they share: numbers shown with 15 significant digits, read
// in the C locale and checked against their range in the page's order; the
// first bad field gets the prompt and the focus, and the model stays as it was.
#include "config/PropertyModel.h"
#include "platformqt/Dialog.h"
#include "propertyPage/PropertyFolderController.h"

#include <string>

namespace fieldExchange {
void setNumber(QWidget* page, int id, double value);
void setInteger(QWidget* page, int id, int value);
void setCheck(QWidget* page, int id, bool value);
bool isChecked(QWidget* page, int id);
// False after the prompt, with the focus on the field.
bool getNumber(QWidget* page, int id, double low, double high, double& value);
bool getInteger(QWidget* page, int id, int low, int high, int& value);
// The number in C-locale notation; false when `text` holds anything else.
bool parseNumber(const std::string& text, double& value);
bool parseInteger(const std::string& text, int& value);
} // namespace fieldExchange

// A page of the configuration dialog.
class ConfigurationPage : public platform::Dialog, public PropertyPageInterface<PropertyModel> {
public:
    explicit ConfigurationPage(int templateId);
    int getTemplateId() override { return pageTemplate; }
    void showHelp() override;

private:
    int pageTemplate;
};

class GeneralPage : public ConfigurationPage {
public:
    GeneralPage();
    int getBitmapId() override;
    void modelToPage(const PropertyModel& model) override;
    bool pageToModel(PropertyModel& model) override;
};

class Debriefing1Page : public ConfigurationPage {
public:
    Debriefing1Page();
    void modelToPage(const PropertyModel& model) override;
    bool pageToModel(PropertyModel& model) override;
};

class Debriefing2Page : public ConfigurationPage {
public:
    Debriefing2Page();
    void modelToPage(const PropertyModel& model) override;
    bool pageToModel(PropertyModel& model) override;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    void enableDepthFields();
};

class PrintPage : public ConfigurationPage {
public:
    PrintPage();
    void modelToPage(const PropertyModel& model) override;
    bool pageToModel(PropertyModel& model) override;

protected:
    bool onInitDialog() override;
};

// Registers the control classes the pages' templates use beyond the built-in
// ones: "msctls_updown32" (an up-down pair that steps its buddy field) and
// "ComboBoxEx32" (a combo box whose items show pictures).
void registerConfigurationControls();
