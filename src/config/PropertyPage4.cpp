#include "config/PropertyPage4.h"

#include "calibrate/CalibrateView.h"
#include "config/LangStruct.h"
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "ui/ToolBar.h"
#include "Utillib/DialogTemplateEditor.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int iconBoxIds[6] = { IDC_CPB_ICON1, IDC_CPB_ICON2, IDC_CPB_ICON3, IDC_CPB_ICON4, IDC_CPB_ICON5, IDC_CPB_ICON6 };
constexpr int languageBoxIds[3] = { IDC_CPB_LANGUAGE1, IDC_CPB_LANGUAGE2, IDC_CPB_LANGUAGE3 };
constexpr int legendPictureIds[6] = { IDC_LEGEND_ICON1, IDC_LEGEND_ICON2, IDC_LEGEND_ICON3,
                                      IDC_LEGEND_ICON4, IDC_LEGEND_ICON5, IDC_LEGEND_ICON6 };

PropertyPage4::AlgorithmEditor& algorithmEditor()
{
    static PropertyPage4::AlgorithmEditor editor;
    return editor;
}

std::string& catalogueFolder()
{
    static std::string folder = ".";
    return folder;
}

} // namespace

void PropertyPage4::setAlgorithmEditor(AlgorithmEditor editor) { algorithmEditor() = std::move(editor); }

void PropertyPage4::setCatalogueFolder(const std::string& folder) { catalogueFolder() = folder; }

PropertyPage4::PropertyPage4() : ConfigurationPage(IDD_CONFIG_CPB), legendCopy(6) { }

PropertyPage4::~PropertyPage4() = default;

int PropertyPage4::getBitmapId() { return IDB_CONFIG_PICTURE; }

platform::ComboBox* PropertyPage4::languageBox(int boxLangNr)
{
    LOG_ASSERT(boxLangNr > -1 && boxLangNr < 3);
    if (boxLangNr < 0 || boxLangNr > 2)
        return nullptr;
    platform::ComboBox* combo = platform::dlgItem<platform::ComboBox>(this, languageBoxIds[boxLangNr]);
    LOG_ASSERT_TEXT(combo != nullptr, "combo != 0 && ::IsWindow(combo->m_hWnd)");
    return combo;
}

platform::ComboBox* PropertyPage4::iconBox(int position)
{
    return platform::dlgItem<platform::ComboBox>(this, iconBoxIds[position]);
}

bool PropertyPage4::onInitDialog()
{
    const bool result = ConfigurationPage::onInitDialog();
    refillAlgorithmBoxes();
    fillLanguageBoxes();
    if (!smallIcons)
        smallIcons = std::make_unique<EventIconList>(0);
    fillIconBoxes();
    const bool canEdit = static_cast<bool>(algorithmEditor());
    for (int id : { IDC_CPB_DETAILS1, IDC_CPB_DETAILS2 })
        if (QWidget* details = platform::dlgItem(this, id))
            details->setEnabled(canEdit);
    return result;
}

void PropertyPage4::refillAlgorithmBoxes()
{
    if (!isCreated())
        return;
    AlgorithmTable table(database);
    table.open("");
    for (int id : { IDC_CPB_ALGORITHM1, IDC_CPB_ALGORITHM2 })
        if (auto* combo = platform::dlgItem<platform::ComboBox>(this, id)) {
            dbui::QtComboBox adapter(combo);
            table.fillCombo(adapter, "Name", "");
        }
    table.Close();
}

void PropertyPage4::fillIconBoxes()
{
    if (!isCreated() || !smallIcons)
        return;
    for (int position = 0; position < 6; ++position) {
        platform::ComboBox* box = iconBox(position);
        if (!box)
            continue;
        box->resetContent();
        for (int i = 0; i < eventIconCount; ++i)
            box->addItem(QIcon(smallIcons->icon(i)), QString(), i);
    }
}

void PropertyPage4::fillLanguageBoxes()
{
    if (!isCreated())
        return;
    for (int box = 0; box < 3; ++box)
        if (platform::ComboBox* combo = languageBox(box))
            combo->resetContent();
    for (const std::string& code : availableLanguages(catalogueFolder())) {
        const int index = LangStruct::indexOf(code);
        if (index == -1)
            continue;
        const QString name = QString::fromStdWString(LangStruct::nameAt(index));
        for (int box = 0; box < 3; ++box)
            if (platform::ComboBox* combo = languageBox(box))
                combo->setItemData(combo->addString(name), index);
    }
}

void PropertyPage4::setLanguageBox(int boxLangNr, const std::string& code)
{
    const int index = LangStruct::indexOf(code);
    if (index == -1)
        return;
    platform::ComboBox* combo = languageBox(boxLangNr);
    if (!combo)
        return;
    int item = combo->findData(index);
    if (item < 0)
        item = combo->findData(0);
    combo->setCurSel(item);
}

std::string PropertyPage4::getLanguageBox(int boxLangNr)
{
    platform::ComboBox* combo = languageBox(boxLangNr);
    if (!combo || combo->getCurSel() < 0)
        return LangStruct::codeAt(-1);
    return LangStruct::codeAt(combo->currentData().toInt());
}

void PropertyPage4::modelToPage(const PropertyModel& m)
{
    Utillib::selectComboString(platform::dlgItem<platform::ComboBox>(this, IDC_CPB_ALGORITHM1), m.algorithm1Name);
    Utillib::selectComboString(platform::dlgItem<platform::ComboBox>(this, IDC_CPB_ALGORITHM2), m.algorithm2Name);
    fieldExchange::setCheck(this, IDC_CPB_ENABLE_LEGENDS, m.enableLegends);
    if (QWidget* edit = platform::dlgItem(this, IDC_CPB_EDIT_LEGENDS))
        edit->setEnabled(m.enableLegends);
    for (int i = 0; i < 3; ++i)
        setLanguageBox(i, m.getLanguage(i));
    for (int i = 0; i < 6; ++i) {
        if (platform::ComboBox* box = iconBox(i))
            box->setCurSel(m.getIconNumber(i));
        legendCopy[static_cast<std::size_t>(i)] = m.getLegend(i);
    }
    fieldExchange::setCheck(this, IDC_CPB_REGISTER_EVENTS, m.registerEvents);
}

bool PropertyPage4::pageToModel(PropertyModel& m)
{
    for (int i = 0; i < 3; ++i) {
        // The boxes are lists; an empty box keeps the language it had.
        const std::string code = getLanguageBox(i);
        if (!code.empty())
            m.setLanguage(i, code);
    }
    for (int i = 0; i < 6; ++i) {
        platform::ComboBox* box = iconBox(i);
        if (box && box->getCurSel() >= 0)
            m.setIconNumber(i, box->getCurSel());
        m.setLegend(i, legendCopy[static_cast<std::size_t>(i)]);
    }
    // A box without a selection (no database, or a name it does not list)
    // keeps the configured algorithm rather than erasing it.
    if (auto* box = platform::dlgItem<platform::ComboBox>(this, IDC_CPB_ALGORITHM1); box && box->getCurSel() >= 0)
        m.algorithm1Name = Utillib::getComboText(box);
    if (auto* box = platform::dlgItem<platform::ComboBox>(this, IDC_CPB_ALGORITHM2); box && box->getCurSel() >= 0)
        m.algorithm2Name = Utillib::getComboText(box);
    m.enableLegends = fieldExchange::isChecked(this, IDC_CPB_ENABLE_LEGENDS);
    m.registerEvents = fieldExchange::isChecked(this, IDC_CPB_REGISTER_EVENTS);
    return true;
}

bool PropertyPage4::onCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return ConfigurationPage::onCommand(id, code);
    switch (id) {
    case IDC_CPB_DETAILS1:
    case IDC_CPB_DETAILS2:
        showDetails(id == IDC_CPB_DETAILS1 ? IDC_CPB_ALGORITHM1 : IDC_CPB_ALGORITHM2);
        return true;
    case IDC_CPB_LOOK_FOR: {
        CalibrateView view;
        view.setExpanded(true);
        view.runModal(this);
        return true;
    }
    case IDC_CPB_EDIT_LEGENDS:
        editLegends();
        return true;
    case IDC_CPB_ENABLE_LEGENDS:
        if (QWidget* edit = platform::dlgItem(this, IDC_CPB_EDIT_LEGENDS))
            edit->setEnabled(fieldExchange::isChecked(this, IDC_CPB_ENABLE_LEGENDS));
        return true;
    default:
        return ConfigurationPage::onCommand(id, code);
    }
}

void PropertyPage4::showDetails(int boxId)
{
    if (!algorithmEditor())
        return;
    auto* box = platform::dlgItem<platform::ComboBox>(this, boxId);
    const std::string selected = algorithmEditor()(Utillib::getComboText(box));
    refillAlgorithmBoxes();
    if (!selected.empty())
        Utillib::selectComboString(box, selected);
}

void PropertyPage4::editLegends()
{
    std::vector<int> numbers;
    for (int i = 0; i < 6; ++i) {
        platform::ComboBox* box = iconBox(i);
        numbers.push_back(box ? box->getCurSel() : -1);
    }
    IconDescription legends(numbers, legendCopy);
    if (legends.runModal(this))
        for (int i = 0; i < 6; ++i)
            legendCopy[static_cast<std::size_t>(i)] = legends.getLegend(i);
}

// ---- IconDescription ----

IconDescription::IconDescription(const std::vector<int>& numbers, const std::vector<std::string>& texts)
    : nrVect(numbers), descVect(texts)
{
    LOG_ASSERT(nrVect.size() == 6);
    LOG_ASSERT(descVect.size() == 6);
    nrVect.resize(6, -1);
    descVect.resize(6);
}

IconDescription::~IconDescription() = default;

bool IconDescription::create(QWidget*)
{
    LOG_ASSERT(false);
    return false;
}

bool IconDescription::runModal(QWidget* parent)
{
    DialogTemplateEditor dialogTemplate(IDD_ICON_LEGENDS);
    dialogTemplate.setStyle(0x90C00040);
    if (!createIndirect(dialogTemplate.data(), dialogTemplate.size(), parent))
        return false;
    return doModal() == IDOK;
}

bool IconDescription::onInitDialog()
{
    const bool result = BaseDialog::onInitDialog();
    EventIconList icons(0);
    for (int i = 0; i < 6; ++i) {
        if (auto* picture = platform::dlgItem<QLabel>(this, legendPictureIds[i])) {
            QPixmap bitmap(16, 15);
            bitmap.fill(palette().color(QPalette::Window));
            QPainter painter(&bitmap);
            icons.draw(painter, nrVect[static_cast<std::size_t>(i)], 0, 0);
            painter.end();
            picture->setPixmap(bitmap);
        }
        platform::setWindowTextA(platform::dlgItem(this, IDC_LEGEND_TEXT1 + i), descVect[static_cast<std::size_t>(i)]);
    }
    return result;
}

void IconDescription::readTexts()
{
    for (int i = 0; i < 6; ++i)
        descVect[static_cast<std::size_t>(i)] = platform::getWindowTextA(platform::dlgItem(this, IDC_LEGEND_TEXT1 + i));
}

void IconDescription::onOK()
{
    readTexts();
    endDialog(IDOK);
}

void IconDescription::onCancel()
{
    readTexts();
    endDialog(IDCANCEL);
}

std::string IconDescription::getLegend(int pos) const
{
    LOG_ASSERT(pos >=0 && pos <= 5);
    if (pos < 0 || pos > 5)
        return {};
    return descVect[static_cast<std::size_t>(pos)];
}
