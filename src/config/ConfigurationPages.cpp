#include "config/ConfigurationPages.h"

#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "ui/AppServices.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int configurationHelp = 10018;

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string formatNumber(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", 15, value);
    return buffer;
}

void prompt(QWidget* page, int id, const char* format, const std::string& low = {}, const std::string& high = {})
{
    std::wstring text = translate(format);
    auto replace = [&text](const std::wstring& marker, const std::string& value) {
        const std::size_t at = text.find(marker);
        if (at != std::wstring::npos)
            text.replace(at, marker.size(), std::wstring(value.begin(), value.end()));
    };
    replace(L"%1", low);
    replace(L"%2", high);
    platform::messageBox(page, text, L"", platform::MB_OK | platform::MB_ICONEXCLAMATION);
    if (QWidget* field = platform::dlgItem(page, id)) {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
    }
}

std::string fieldText(QWidget* page, int id) { return platform::getWindowTextA(platform::dlgItem(page, id)); }

} // namespace

namespace fieldExchange {

bool parseNumber(const std::string& raw, double& value)
{
    const std::string text = trimmed(raw);
    if (text.empty())
        return false;
    const char* begin = text.data();
    if (*begin == '+')
        ++begin;
    double parsed = 0;
    auto [end, error] = std::from_chars(begin, text.data() + text.size(), parsed);
    // "nan" and "inf" are no numbers a user means.
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool parseInteger(const std::string& raw, int& value)
{
    const std::string text = trimmed(raw);
    if (text.empty())
        return false;
    const char* begin = text.data();
    if (*begin == '+')
        ++begin;
    int parsed = 0;
    auto [end, error] = std::from_chars(begin, text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

void setNumber(QWidget* page, int id, double value)
{
    platform::setWindowTextA(platform::dlgItem(page, id), formatNumber(value));
}

void setInteger(QWidget* page, int id, int value)
{
    platform::setWindowTextA(platform::dlgItem(page, id), std::to_string(value));
}

void setCheck(QWidget* page, int id, bool value) { platform::setButtonCheck(platform::dlgItem(page, id), value ? 1 : 0); }

bool isChecked(QWidget* page, int id) { return platform::buttonCheck(platform::dlgItem(page, id)) == 1; }

bool getNumber(QWidget* page, int id, double low, double high, double& value)
{
    double parsed = 0;
    if (!parseNumber(fieldText(page, id), parsed)) {
        prompt(page, id, "Please enter a number.");
        return false;
    }
    if (!(parsed >= low && parsed <= high)) {
        prompt(page, id, "Please enter a number between %1 and %2.", formatNumber(low), formatNumber(high));
        return false;
    }
    value = parsed;
    return true;
}

bool getInteger(QWidget* page, int id, int low, int high, int& value)
{
    int parsed = 0;
    if (!parseInteger(fieldText(page, id), parsed)) {
        prompt(page, id, "Please enter an integer.");
        return false;
    }
    if (parsed < low || parsed > high) {
        prompt(page, id, "Please enter an integer between %1 and %2.", std::to_string(low), std::to_string(high));
        return false;
    }
    value = parsed;
    return true;
}

} // namespace fieldExchange

using namespace fieldExchange;

ConfigurationPage::ConfigurationPage(int templateId) : pageTemplate(templateId)
{
    static const bool registered = (registerConfigurationControls(), true);
    (void)registered;
}

void ConfigurationPage::showHelp()
{
    if (AppServices* services = appServices())
        services->showHelp(configurationHelp);
}

// ---- General ----

GeneralPage::GeneralPage() : ConfigurationPage(IDD_CONFIG_GENERAL) { }

int GeneralPage::getBitmapId() { return IDB_CONFIG_PICTURE; }

void GeneralPage::modelToPage(const PropertyModel& m)
{
    setCheck(this, IDC_GENERAL_END_SOUND, m.endSound);
    setNumber(this, IDC_GENERAL_METRONOME, m.metronomeFrequency);
}

bool GeneralPage::pageToModel(PropertyModel& m)
{
    double frequency = 0;
    if (!getNumber(this, IDC_GENERAL_METRONOME, 1, 250, frequency))
        return false;
    m.endSound = isChecked(this, IDC_GENERAL_END_SOUND);
    m.metronomeFrequency = frequency;
    return true;
}

// ---- Debriefing 1 ----

Debriefing1Page::Debriefing1Page() : ConfigurationPage(IDD_CONFIG_DEBRIEFING1) { }

void Debriefing1Page::modelToPage(const PropertyModel& m)
{
    setCheck(this, IDC_DEB1_INITIAL_VENT, m.showInitialVentilations);
    setCheck(this, IDC_DEB1_VENT_RATE, m.showVentilationRate);
    setCheck(this, IDC_DEB1_AVERAGE_VOLUME, m.showAverageVolume);
    setCheck(this, IDC_DEB1_STOMACH, m.showStomachInflations);
    setCheck(this, IDC_DEB1_MINUTE_VOLUME, m.showMinuteVolume);
    setNumber(this, IDC_DEB1_MINUTE_LOW, m.minuteVolumeLow);
    setNumber(this, IDC_DEB1_MINUTE_HIGH, m.minuteVolumeHigh);
    setCheck(this, IDC_DEB1_VENT_COMP_RATIO, m.showVentCompRatio);
    setCheck(this, IDC_DEB1_AS_COUNTS, m.debriefingAsCounts);
    setCheck(this, IDC_DEB1_AS_PERCENT, !m.debriefingAsCounts);
    setCheck(this, IDC_DEB1_COMMENTS, m.showComments);
}

namespace {

// A range entered upside down is stored in order, in the page as well.
void storeOrdered(QWidget* page, int lowId, int highId, double& low, double& high)
{
    if (low > high) {
        std::swap(low, high);
        setNumber(page, lowId, low);
        setNumber(page, highId, high);
    }
}

} // namespace

bool Debriefing1Page::pageToModel(PropertyModel& m)
{
    double low = 0, high = 0;
    if (!getNumber(this, IDC_DEB1_MINUTE_LOW, 0.0001, 50, low) || !getNumber(this, IDC_DEB1_MINUTE_HIGH, 0.0001, 50, high))
        return false;
    storeOrdered(this, IDC_DEB1_MINUTE_LOW, IDC_DEB1_MINUTE_HIGH, low, high);
    m.showInitialVentilations = isChecked(this, IDC_DEB1_INITIAL_VENT);
    m.showVentilationRate = isChecked(this, IDC_DEB1_VENT_RATE);
    m.showAverageVolume = isChecked(this, IDC_DEB1_AVERAGE_VOLUME);
    m.showStomachInflations = isChecked(this, IDC_DEB1_STOMACH);
    m.showMinuteVolume = isChecked(this, IDC_DEB1_MINUTE_VOLUME);
    m.minuteVolumeLow = low;
    m.minuteVolumeHigh = high;
    m.showVentCompRatio = isChecked(this, IDC_DEB1_VENT_COMP_RATIO);
    m.debriefingAsCounts = isChecked(this, IDC_DEB1_AS_COUNTS);
    m.showComments = isChecked(this, IDC_DEB1_COMMENTS);
    return true;
}

// ---- Debriefing 2 ----

Debriefing2Page::Debriefing2Page() : ConfigurationPage(IDD_CONFIG_DEBRIEFING2) { }

bool Debriefing2Page::onInitDialog()
{
    const bool result = ConfigurationPage::onInitDialog();
    if (auto* notation = platform::dlgItem<platform::ComboBox>(this, IDC_DEB2_NOTATION)) {
        notation->setItemData(notation->addString(QString::fromStdWString(translate("50%:50%"))), 0);
        notation->setItemData(notation->addString(QString::fromStdWString(translate("1.0"))), 1);
    }
    return result;
}

void Debriefing2Page::enableDepthFields()
{
    const bool enable = isChecked(this, IDC_DEB2_OVERRIDE_DEPTH);
    for (int id : { IDC_DEB2_DEPTH_LOW, IDC_DEB2_DEPTH_HIGH })
        if (QWidget* field = platform::dlgItem(this, id))
            field->setEnabled(enable);
}

bool Debriefing2Page::onCommand(int id, int code)
{
    if (id == IDC_DEB2_OVERRIDE_DEPTH && code == BN_CLICKED) {
        enableDepthFields();
        return true;
    }
    return ConfigurationPage::onCommand(id, code);
}

void Debriefing2Page::modelToPage(const PropertyModel& m)
{
    setCheck(this, IDC_DEB2_RATE, m.showCompressionRate);
    setCheck(this, IDC_DEB2_COMP_RELAX, m.showCompRelaxRatio);
    setCheck(this, IDC_DEB2_DEPTH, m.showCompressionDepth);
    setCheck(this, IDC_DEB2_PAUSE, m.showPause);
    setCheck(this, IDC_DEB2_WRONG_HAND, m.showWrongHandPositions);
    setCheck(this, IDC_DEB2_LEANINGS, m.showLeanings);
    setCheck(this, IDC_DEB2_CARDIAC_OUTPUT, m.showCardiacOutput);
    setNumber(this, IDC_DEB2_CO_LOW, m.cardiacOutputLow);
    setNumber(this, IDC_DEB2_CO_HIGH, m.cardiacOutputHigh);
    setNumber(this, IDC_DEB2_CO_PER_COMPRESSION, m.cardiacOutputPerCompression);
    setNumber(this, IDC_DEB2_CO_PER_WRONG_HAND, m.cardiacOutputPerWrongHand);
    setNumber(this, IDC_DEB2_DEPTH_LOW, m.depthLow);
    setNumber(this, IDC_DEB2_DEPTH_HIGH, m.depthHigh);
    setInteger(this, IDC_DEB2_MAX_PAUSE, m.maxPause);
    setCheck(this, IDC_DEB2_OVERRIDE_DEPTH, m.overrideDepth);
    if (auto* notation = platform::dlgItem<platform::ComboBox>(this, IDC_DEB2_NOTATION))
        notation->setCurSel(notation->findData(m.compRelaxAsPercent ? 0 : 1));
    enableDepthFields();
}

bool Debriefing2Page::pageToModel(PropertyModel& m)
{
    double coLow = 0, coHigh = 0, perCompression = 0, perWrongHand = 0, depthLow = 0, depthHigh = 0;
    int maxPause = 0;
    if (!getNumber(this, IDC_DEB2_CO_LOW, 0.01, 100, coLow) || !getNumber(this, IDC_DEB2_CO_HIGH, 0.01, 100, coHigh)
        || !getNumber(this, IDC_DEB2_CO_PER_COMPRESSION, 0, 100, perCompression)
        || !getNumber(this, IDC_DEB2_CO_PER_WRONG_HAND, 0, 100, perWrongHand)
        || !getNumber(this, IDC_DEB2_DEPTH_LOW, 0.01, 100, depthLow)
        || !getNumber(this, IDC_DEB2_DEPTH_HIGH, 0.01, 100, depthHigh)
        || !getInteger(this, IDC_DEB2_MAX_PAUSE, 1, 100, maxPause))
        return false;
    storeOrdered(this, IDC_DEB2_CO_LOW, IDC_DEB2_CO_HIGH, coLow, coHigh);
    storeOrdered(this, IDC_DEB2_DEPTH_LOW, IDC_DEB2_DEPTH_HIGH, depthLow, depthHigh);
    m.showCompressionRate = isChecked(this, IDC_DEB2_RATE);
    m.showCompRelaxRatio = isChecked(this, IDC_DEB2_COMP_RELAX);
    m.showCompressionDepth = isChecked(this, IDC_DEB2_DEPTH);
    m.showPause = isChecked(this, IDC_DEB2_PAUSE);
    m.showWrongHandPositions = isChecked(this, IDC_DEB2_WRONG_HAND);
    m.showLeanings = isChecked(this, IDC_DEB2_LEANINGS);
    m.showCardiacOutput = isChecked(this, IDC_DEB2_CARDIAC_OUTPUT);
    m.cardiacOutputLow = coLow;
    m.cardiacOutputHigh = coHigh;
    m.cardiacOutputPerCompression = perCompression;
    m.cardiacOutputPerWrongHand = perWrongHand;
    m.depthLow = depthLow;
    m.depthHigh = depthHigh;
    m.maxPause = maxPause;
    m.overrideDepth = isChecked(this, IDC_DEB2_OVERRIDE_DEPTH);
    if (auto* notation = platform::dlgItem<platform::ComboBox>(this, IDC_DEB2_NOTATION))
        if (notation->getCurSel() >= 0)
            m.compRelaxAsPercent = notation->currentData().toInt() == 0;
    return true;
}

// ---- Print ----

namespace {

// An up-down pair beside a field: steps the field's integer within a range.
class UpDownControl : public QWidget {
public:
    explicit UpDownControl(QWidget* parent) : QWidget(parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (int step : { 1, -1 }) {
            auto* arrow = new QToolButton(this);
            arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
            arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            arrow->setAutoRepeat(true);
            QObject::connect(arrow, &QToolButton::clicked, this, [this, step] { stepBy(step); });
            layout->addWidget(arrow);
        }
    }
    void setBuddy(QWidget* field, int lowest, int highest)
    {
        buddy = field;
        low = lowest;
        high = highest;
    }
    void stepBy(int step)
    {
        if (!buddy)
            return;
        int value = 0;
        if (!parseInteger(platform::getWindowTextA(buddy), value))
            value = low;
        else
            value = std::clamp(value + step, low, high);
        platform::setWindowTextA(buddy, std::to_string(value));
    }

private:
    QWidget* buddy = nullptr;
    int low = 0;
    int high = 100;
};

} // namespace

PrintPage::PrintPage() : ConfigurationPage(IDD_CONFIG_PRINT) { }

bool PrintPage::onInitDialog()
{
    const bool result = ConfigurationPage::onInitDialog();
    if (auto* spin = dynamic_cast<UpDownControl*>(platform::dlgItem(this, IDC_PRINT_MINUTES_SPIN)))
        spin->setBuddy(platform::dlgItem(this, IDC_PRINT_MINUTES), 1, 240);
    return result;
}

void PrintPage::modelToPage(const PropertyModel& m)
{
    // The model separates the heading's lines with CR LF, the field with LF.
    QString heading = QString::fromStdWString(m.printHeading);
    heading.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (auto* edit = platform::dlgItem<QPlainTextEdit>(this, IDC_PRINT_HEADING))
        edit->setPlainText(heading);
    setCheck(this, IDC_PRINT_GRAPH, m.printGraph);
    setInteger(this, IDC_PRINT_MINUTES, m.graphPrintMinutes);
    setCheck(this, IDC_PRINT_EVENT_LIST, m.printEventList);
    setCheck(this, IDC_PRINT_APPROVAL, m.printApprovalFields);
    setCheck(this, IDC_PRINT_DEBRIEFING_TEXT, m.printDebriefingText);
}

bool PrintPage::pageToModel(PropertyModel& m)
{
    int minutes = 0;
    if (!getInteger(this, IDC_PRINT_MINUTES, 1, 240, minutes))
        return false;
    if (auto* edit = platform::dlgItem<QPlainTextEdit>(this, IDC_PRINT_HEADING)) {
        QString heading = edit->toPlainText();
        heading.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        m.printHeading = heading.toStdWString();
    }
    m.printGraph = isChecked(this, IDC_PRINT_GRAPH);
    m.graphPrintMinutes = minutes;
    m.printEventList = isChecked(this, IDC_PRINT_EVENT_LIST);
    m.printApprovalFields = isChecked(this, IDC_PRINT_APPROVAL);
    m.printDebriefingText = isChecked(this, IDC_PRINT_DEBRIEFING_TEXT);
    return true;
}

void registerConfigurationControls()
{
    platform::registerControlClass("msctls_updown32", [](const platform::ControlParameters&, QWidget* parent) {
        return static_cast<QWidget*>(new UpDownControl(parent));
    });
    platform::registerControlClass("ComboBoxEx32", [](const platform::ControlParameters& params, QWidget* parent) {
        auto* combo = new platform::ComboBox(params.style, parent);
        combo->setIconSize(QSize(16, 15));
        return static_cast<QWidget*>(combo);
    });
}
