#pragma once
// The CPR Controller page of the configuration dialog: the two algorithms,
// three languages, six event icons with their legends and whether legends
// show, which the program sends to a CPR Controller; and the legend dialog.
#include "config/ConfigurationPages.h"
#include "ui/BaseDialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class EventIconList;
namespace platform {
class ComboBox;
}

class PropertyPage4 : public ConfigurationPage {
public:
    // Runs the algorithm editor modally on `shownName`; the name it showed
    // last (empty for none).
    using AlgorithmEditor = std::function<std::string(const std::string& shownName)>;
    // The database subsystem registers its editor; the "Details..." buttons
    // are disabled while none is registered.
    static void setAlgorithmEditor(AlgorithmEditor editor);

    PropertyPage4();
    ~PropertyPage4() override;

    int getBitmapId() override;
    void modelToPage(const PropertyModel& model) override;
    bool pageToModel(PropertyModel& model) override;

    void refillAlgorithmBoxes();
    void fillIconBoxes();
    void fillLanguageBoxes();
    void setLanguageBox(int boxLangNr, const std::string& code);
    std::string getLanguageBox(int boxLangNr);

    // Where the catalogues are looked for; the current folder by default.
    static void setCatalogueFolder(const std::string& folder);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    platform::ComboBox* languageBox(int boxLangNr);
    platform::ComboBox* iconBox(int position);
    void editLegends();
    void showDetails(int boxId);

    std::unique_ptr<EventIconList> smallIcons;
    std::vector<std::string> legendCopy;
};

class IconDescription : public BaseDialog {
public:
    IconDescription(const std::vector<int>& nrVect, const std::vector<std::string>& descVect);
    ~IconDescription() override;

    // True when it ended with OK.
    bool runModal(QWidget* parent);
    // The legend of position 0 to 5; empty for another.
    std::string getLegend(int pos) const;
    // Only modal.
    bool create(QWidget* parent) override;

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;

private:
    void readTexts();

    std::vector<int> nrVect;
    std::vector<std::string> descVect;
};
