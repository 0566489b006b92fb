// The configuration and its dialog on the offscreen platform: the settings
// at first use, the pages' checks and stored values, the CPR Controller page,
// and the Get and Send buttons following the port table with a simulated CPR
// Controller. Message boxes are answered by the tests; screenshots of every
// page land in the build folder.
#include "config/Configuration.h"
#include "config/ConfigurationDialog.h"
#include "config/ConfigurationFile.h"
#include "config/PropertyPage4.h"
#include "config/SetupTransfer.h"
#include "calibrate/CalibrateView.h"
#include "comm/CalibrateManager.h"
#include "comm/MeasurementSettings.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "Database/Database.h"
#include "res/resource.h"
#include "sim/HandshakeDevices.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"
#include "Database/DbTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using namespace platform;
using testsupport::LogCapture;
using testsupport::TempDir;

QString screenshot(const char* name)
{
    QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
    return QStringLiteral(SCREENSHOT_DIR "/") + name;
}

// The working folder for as long as it lives.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(previous); }

private:
    std::filesystem::path previous;
};

class FakeTransfer : public SetupTransfer {
public:
    int sendSetup(const PropertyModel& setup, QWidget*) override
    {
        ++sends;
        sent = setup;
        return answer;
    }
    int getSetup(PropertyModel& setup, QWidget*) override
    {
        ++gets;
        if (answer == IDOK)
            setup = device;
        return answer;
    }
    int sends = 0;
    int gets = 0;
    int answer = IDCANCEL;
    PropertyModel sent;
    PropertyModel device;
};

struct Receiver : SignalReceiver {
    void closed() { ++count; }
    int count = 0;
};

std::string getComboTextOf(ComboBox* box) { return box->getCurSel() < 0 ? std::string() : box->getLBText(box->getCurSel()).toStdString(); }
std::string text(QWidget* page, int id) { return getWindowTextA(dlgItem(page, id)); }
void setText(QWidget* page, int id, const std::string& value) { setWindowTextA(dlgItem(page, id), value); }

// Runs the dialog on `page`, lets `body` work in it, and cancels it when
// `body` left it open.
void runDialog(int page, const std::function<void(ConfigurationDialog&)>& body)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ConfigurationDialog* dialog = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* found = dynamic_cast<ConfigurationDialog*>(window); found && found->isVisible())
                dialog = found;
        ASSERT_NE(dialog, nullptr);
        body(*dialog);
        ran = true;
        if (dialog->isVisible())
            dialog->sendCommand(IDCANCEL, BN_CLICKED);
    });
    Configuration::instance().showDialog(page, nullptr);
    EXPECT_TRUE(ran);
}

class ConfigurationDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        res::registerResources();
        // The one configuration loads from the working folder when first used.
        folder = new TempDir;
        InFolder in(folder->path());
        Configuration::instance();
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }

    void SetUp() override
    {
        previousHook = setMessageBoxHook([this](const MessageBoxRequest& request) {
            prompts.push_back(request.text);
            return IDOK;
        });
        Configuration::instance().getController().setModel(PropertyModel());
        Configuration::instance().setTransfer(&transfer);
    }
    void TearDown() override
    {
        Configuration::instance().setTransfer(nullptr);
        setMessageBoxHook(previousHook);
    }

    void withDialog(int page, const std::function<void(ConfigurationDialog&)>& body) { runDialog(page, body); }

    const PropertyModel& committed() { return Configuration::instance().getModel(); }

    static TempDir* folder;
    MessageBoxHook previousHook;
    std::vector<std::wstring> prompts;
    FakeTransfer transfer;
};

TempDir* ConfigurationDialogTest::folder = nullptr;

TEST(ConfigurationFirstUse, LoadsTheFileOrKeepsTheDefaultsAndNeverLosesARefusedFile)
{
    TempDir dir;
    InFolder in(dir.path());
    PropertyModel stored;
    stored.maxPause = 42;
    stored.depthLow = 35;

    {   // No file: the defaults, which reach the measurement too.
        MeasurementSettings::set(MeasurementSettings { true, 1, 2, 3, 4, 5, 6, 7 });
        Configuration configuration;
        EXPECT_EQ(configuration.getModel(), PropertyModel());
        EXPECT_EQ(MeasurementSettings::current().maxPause, 9);
        EXPECT_FALSE(MeasurementSettings::current().overrideDepth);
        EXPECT_TRUE(configuration.save());
        EXPECT_FALSE(std::filesystem::exists(ConfigurationFile::fileName + ".bad"));
    }
    {   // A good file.
        ASSERT_TRUE(ConfigurationFile::saveFile(ConfigurationFile::fileName, stored));
        Configuration configuration;
        EXPECT_EQ(configuration.getModel(), stored);
        EXPECT_EQ(MeasurementSettings::current().maxPause, 42);
        EXPECT_EQ(MeasurementSettings::current().depthLow, 35);
    }
    {   // A damaged file gives the defaults and is kept aside when the defaults are written.
        std::string image = testsupport::readFile(ConfigurationFile::fileName);
        std::string damaged = image.substr(0, image.size() - 4) + std::string("\x35\x12\0\0", 4);
        std::ofstream(ConfigurationFile::fileName, std::ios::binary) << damaged;
        LogCapture log;
        Configuration configuration;
        EXPECT_EQ(configuration.getModel(), PropertyModel());
        EXPECT_TRUE(configuration.save());
        EXPECT_EQ(testsupport::readFile(ConfigurationFile::fileName + ".bad"), damaged);
        EXPECT_NE(log.text().find("is kept as"), std::string::npos);
        PropertyModel written;
        EXPECT_TRUE(ConfigurationFile::loadFile(ConfigurationFile::fileName, written));
        EXPECT_EQ(written, PropertyModel());
        // A second save has nothing more to keep: the copy stays the damaged file.
        EXPECT_TRUE(configuration.save());
        EXPECT_EQ(testsupport::readFile(ConfigurationFile::fileName + ".bad"), damaged);
    }
}

TEST_F(ConfigurationDialogTest, CancelDiscardsAndOkCommitsAcrossPages)
{
    Receiver receiver;
    Configuration::instance().dialogClosed.connect(&receiver, &Receiver::closed);
    const std::string saved = folder->file("saved.cprcfg");
    ASSERT_TRUE(Configuration::instance().saveTo(saved));
    const std::string before = testsupport::readFile(saved);

    withDialog(0, [&](ConfigurationDialog& dialog) {
        EXPECT_EQ(text(dialog.getCurrentPage(), IDC_GENERAL_METRONOME), "100");
        setText(dialog.getCurrentPage(), IDC_GENERAL_METRONOME, "120");
        ASSERT_TRUE(dialog.selectPage(2));
        setText(dialog.getCurrentPage(), IDC_DEB2_MAX_PAUSE, "15");
    });
    EXPECT_EQ(committed(), PropertyModel());
    EXPECT_EQ(receiver.count, 1);
    ASSERT_TRUE(Configuration::instance().saveTo(saved));
    EXPECT_EQ(testsupport::readFile(saved), before);

    withDialog(0, [&](ConfigurationDialog& dialog) {
        setText(dialog.getCurrentPage(), IDC_GENERAL_METRONOME, " 120.5 ");
        ASSERT_TRUE(dialog.selectPage(2));
        setText(dialog.getCurrentPage(), IDC_DEB2_MAX_PAUSE, "15");
        // Readers see the committed settings while the dialog is open.
        EXPECT_EQ(committed().metronomeFrequency, 100.0);
        dialog.sendCommand(IDOK, BN_CLICKED);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(receiver.count, 2);
    EXPECT_EQ(committed().metronomeFrequency, 120.5);
    EXPECT_EQ(committed().maxPause, 15);
    EXPECT_EQ(MeasurementSettings::current().maxPause, 15);
    EXPECT_TRUE(prompts.empty());
    // Without a transfer registered nothing is sent.
    EXPECT_EQ(transfer.sends, 0);
}

TEST_F(ConfigurationDialogTest, EveryCheckedFieldPromptsAndKeepsTheDialogOpen)
{
    struct Case {
        int page;
        int id;
        const char* entry;
        const wchar_t* prompt;
    };
    const Case cases[] = {
        { 0, IDC_GENERAL_METRONOME, "300", L"Please enter a number between 1 and 250." },
        { 0, IDC_GENERAL_METRONOME, "0.99", L"Please enter a number between 1 and 250." },
        { 0, IDC_GENERAL_METRONOME, "12a", L"Please enter a number." },
        { 0, IDC_GENERAL_METRONOME, "", L"Please enter a number." },
        { 0, IDC_GENERAL_METRONOME, "nan", L"Please enter a number." },
        { 0, IDC_GENERAL_METRONOME, "1,5", L"Please enter a number." },
        { 0, IDC_GENERAL_METRONOME, "inf", L"Please enter a number." },
        { 1, IDC_DEB1_MINUTE_LOW, "0", L"Please enter a number between 0.0001 and 50." },
        { 1, IDC_DEB1_MINUTE_HIGH, "50.01", L"Please enter a number between 0.0001 and 50." },
        { 2, IDC_DEB2_CO_LOW, "0.001", L"Please enter a number between 0.01 and 100." },
        { 2, IDC_DEB2_CO_HIGH, "101", L"Please enter a number between 0.01 and 100." },
        { 2, IDC_DEB2_CO_PER_COMPRESSION, "-1", L"Please enter a number between 0 and 100." },
        { 2, IDC_DEB2_CO_PER_WRONG_HAND, "x", L"Please enter a number." },
        { 2, IDC_DEB2_DEPTH_LOW, "0", L"Please enter a number between 0.01 and 100." },
        { 2, IDC_DEB2_DEPTH_HIGH, "1e3", L"Please enter a number between 0.01 and 100." },
        { 2, IDC_DEB2_MAX_PAUSE, "101", L"Please enter an integer between 1 and 100." },
        { 2, IDC_DEB2_MAX_PAUSE, "2.5", L"Please enter an integer." },
        { 2, IDC_DEB2_MAX_PAUSE, "99999999999", L"Please enter an integer." },
        { 3, IDC_PRINT_MINUTES, "0", L"Please enter an integer between 1 and 240." },
        { 3, IDC_PRINT_MINUTES, "241", L"Please enter an integer between 1 and 240." },
    };
    withDialog(0, [&](ConfigurationDialog& dialog) {
        for (const Case& c : cases) {
            ASSERT_TRUE(dialog.selectPage(c.page)) << c.entry;
            QWidget* page = dialog.getCurrentPage();
            const std::string good = text(page, c.id);
            setText(page, c.id, c.entry);
            prompts.clear();
            dialog.sendCommand(IDOK, BN_CLICKED);
            EXPECT_TRUE(dialog.isVisible()) << c.entry;
            ASSERT_EQ(prompts.size(), 1u) << c.entry;
            EXPECT_EQ(prompts[0], c.prompt) << c.entry;
            // (a disabled depth field is checked too, but cannot take the focus)
            if (dlgItem(page, c.id)->isEnabled())
                EXPECT_EQ(dialog.focusWidget(), dlgItem(page, c.id)) << c.entry;
            // Nor can the page be left.
            EXPECT_FALSE(dialog.selectPage((c.page + 1) % 5)) << c.entry;
            setText(page, c.id, good);
        }
    });
    EXPECT_EQ(committed(), PropertyModel());
}

TEST_F(ConfigurationDialogTest, RangesAreStoredInOrderAndTheOtherControlsRoundTrip)
{
    withDialog(1, [&](ConfigurationDialog& dialog) {
        QWidget* page = dialog.getCurrentPage();
        setText(page, IDC_DEB1_MINUTE_LOW, "6");
        setText(page, IDC_DEB1_MINUTE_HIGH, "1.5");
        setButtonCheck(dlgItem(page, IDC_DEB1_AS_COUNTS), 0);
        setButtonCheck(dlgItem(page, IDC_DEB1_AS_PERCENT), 1);
        setButtonCheck(dlgItem(page, IDC_DEB1_STOMACH), 0);

        ASSERT_TRUE(dialog.selectPage(2));
        page = dialog.getCurrentPage();
        setText(page, IDC_DEB2_DEPTH_LOW, "60");
        setText(page, IDC_DEB2_DEPTH_HIGH, "40");
        setText(page, IDC_DEB2_CO_LOW, "6");
        setText(page, IDC_DEB2_CO_HIGH, "1.4");
        // The depth fields follow the override check at once.
        EXPECT_FALSE(dlgItem(page, IDC_DEB2_DEPTH_LOW)->isEnabled());
        auto* override = dlgItem(page, IDC_DEB2_OVERRIDE_DEPTH);
        setButtonCheck(override, 1);
        dialog.getCurrentPage()->sendCommand(IDC_DEB2_OVERRIDE_DEPTH, BN_CLICKED);
        EXPECT_TRUE(dlgItem(page, IDC_DEB2_DEPTH_HIGH)->isEnabled());
        auto* notation = dlgItem<ComboBox>(page, IDC_DEB2_NOTATION);
        ASSERT_EQ(notation->getCount(), 2);
        EXPECT_EQ(notation->getLBText(notation->getCurSel()), "50%:50%");
        notation->setCurSel(notation->findString(-1, "1.0"));
        // Leaving the page stores it, in order, shown in order too.
        ASSERT_TRUE(dialog.selectPage(3));
        ASSERT_TRUE(dialog.selectPage(2));
        page = dialog.getCurrentPage();
        EXPECT_EQ(text(page, IDC_DEB2_DEPTH_LOW), "40");
        EXPECT_EQ(text(page, IDC_DEB2_DEPTH_HIGH), "60");

        ASSERT_TRUE(dialog.selectPage(3));
        page = dialog.getCurrentPage();
        dlgItem<QPlainTextEdit>(page, IDC_PRINT_HEADING)->setPlainText(QString::fromUtf8("Course \xC3\xA9t\xC3\xA9\nRoom 2"));
        dialog.sendCommand(IDOK, BN_CLICKED);
    });
    const std::string saved = folder->file("ordered.cprcfg");
    ASSERT_TRUE(Configuration::instance().saveTo(saved));
    PropertyModel m;
    ASSERT_TRUE(ConfigurationFile::loadFile(saved, m));
    EXPECT_EQ(m.minuteVolumeLow, 1.5);
    EXPECT_EQ(m.minuteVolumeHigh, 6.0);
    EXPECT_EQ(m.depthLow, 40.0);
    EXPECT_EQ(m.depthHigh, 60.0);
    EXPECT_EQ(m.cardiacOutputLow, 1.4);
    EXPECT_EQ(m.cardiacOutputHigh, 6.0);
    EXPECT_TRUE(m.overrideDepth);
    EXPECT_FALSE(m.compRelaxAsPercent);
    EXPECT_FALSE(m.debriefingAsCounts);
    EXPECT_FALSE(m.showStomachInflations);
    EXPECT_EQ(m.printHeading, L"Course \u00e9t\u00e9\r\nRoom 2");
    EXPECT_TRUE(MeasurementSettings::current().overrideDepth);
    EXPECT_EQ(MeasurementSettings::current().depthHigh, 60.0);

    // Shown again: the notation by its item, the heading on two lines, and a
    // disabled depth field is still checked.
    withDialog(2, [&](ConfigurationDialog& dialog) {
        QWidget* page = dialog.getCurrentPage();
        auto* notation = dlgItem<ComboBox>(page, IDC_DEB2_NOTATION);
        EXPECT_EQ(notation->currentData().toInt(), 1);
        setButtonCheck(dlgItem(page, IDC_DEB2_OVERRIDE_DEPTH), 0);
        dialog.getCurrentPage()->sendCommand(IDC_DEB2_OVERRIDE_DEPTH, BN_CLICKED);
        setText(page, IDC_DEB2_DEPTH_LOW, "0");
        EXPECT_FALSE(dialog.selectPage(3));
        EXPECT_EQ(prompts.size(), 1u);
        setText(page, IDC_DEB2_DEPTH_LOW, "40");
        ASSERT_TRUE(dialog.selectPage(3));
        EXPECT_EQ(dlgItem<QPlainTextEdit>(dialog.getCurrentPage(), IDC_PRINT_HEADING)->toPlainText(),
                  QString::fromUtf8("Course \xC3\xA9t\xC3\xA9\nRoom 2"));
    });
}

TEST_F(ConfigurationDialogTest, ControllerPageLanguagesIconsAlgorithmsAndLegends)
{
    TempDir catalogues;
    for (const char* name : { "de.mo", "fr.mo", "xx.mo" })
        std::ofstream(catalogues.file(name)) << "x";
    PropertyPage4::setCatalogueFolder(catalogues.path());
    PropertyModel start;
    start.setLanguage(0, "pt"); // no catalogue: shown and stored as English
    start.setLanguage(1, "fr");
    start.setLanguage(2, "de");
    start.setIconNumber(2, 17);
    start.setLegend(0, "Pulse check");
    start.setAlgorithm1Name("Local guideline"); // no database: the boxes are empty
    Configuration::instance().getController().setModel(start);

    withDialog(4, [&](ConfigurationDialog& dialog) {
        auto* page = dynamic_cast<PropertyPage4*>(dialog.getCurrentPage());
        ASSERT_NE(page, nullptr);
        auto* language = dlgItem<ComboBox>(page, IDC_CPB_LANGUAGE1);
        ASSERT_EQ(language->getCount(), 3);
        EXPECT_EQ(language->getLBText(0), "English");
        EXPECT_EQ(language->getLBText(1), "French");
        EXPECT_EQ(language->getLBText(2), "German");
        EXPECT_EQ(language->itemData(2).toInt(), 1);
        EXPECT_TRUE(language->isDropDownList());
        EXPECT_EQ(language->getLBText(language->getCurSel()), "English");
        auto* icon = dlgItem<ComboBox>(page, IDC_CPB_ICON3);
        ASSERT_EQ(icon->getCount(), 97);
        EXPECT_EQ(icon->getCurSel(), 17);
        EXPECT_FALSE(icon->itemIcon(17).isNull());
        dlgItem<ComboBox>(page, IDC_CPB_ICON6)->setCurSel(96);
        EXPECT_FALSE(dlgItem(page, IDC_CPB_EDIT_LEGENDS)->isEnabled());
        EXPECT_FALSE(dlgItem(page, IDC_CPB_REGISTER_EVENTS)->isVisible());
        EXPECT_EQ(dlgItem<ComboBox>(page, IDC_CPB_ALGORITHM1)->getCurSel(), -1);
        // The guidelines' names show whole in their boxes, with the labels beside them whole too.
        for (int id : {IDC_CPB_ALGORITHM1, IDC_CPB_ALGORITHM2}) {
            auto* algorithm = dlgItem<ComboBox>(page, id);
            for (const char* name : {"AHA 2005 (American Heart Association)", "ERC 2005 (European Resuscitation Council)"})
                algorithm->addString(QString::fromLatin1(name));
            algorithm->setCurSel(1);
            QStyleOptionComboBox option;
            option.initFrom(algorithm);
            option.editable = algorithm->isEditable();
            const QRect field = algorithm->QWidget::style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, algorithm);
            EXPECT_GE(field.width(), algorithm->fontMetrics().horizontalAdvance(algorithm->currentText())) << id;
        }
        for (QLabel* label : page->findChildren<QLabel*>())
            if (label->isVisible() && !label->text().isEmpty())
                EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << label->text().toStdString();
        dialog.grab().save(screenshot("config-page-4.png"));
        for (int id : {IDC_CPB_ALGORITHM1, IDC_CPB_ALGORITHM2})
            dlgItem<ComboBox>(page, id)->resetContent();
        dialog.sendCommand(IDOK, BN_CLICKED);
    });
    EXPECT_EQ(committed().getLanguage(0), "en");
    EXPECT_EQ(committed().getLanguage(1), "fr");
    EXPECT_EQ(committed().getLanguage(2), "de");
    EXPECT_EQ(committed().getIconNumber(2), 17);
    EXPECT_EQ(committed().getIconNumber(5), 96);
    EXPECT_EQ(committed().getAlgorithm1Name(), "Local guideline");
    EXPECT_EQ(committed().getAlgorithm2Name(), "ERC 2005");

    // Legends edited with OK in their dialog, then Cancel in the configuration.
    auto editLegends = [&](bool keep) {
        withDialog(4, [&](ConfigurationDialog& dialog) {
            Dialog* page = dialog.getCurrentPage();
            setButtonCheck(dlgItem(page, IDC_CPB_ENABLE_LEGENDS), 1);
            dialog.getCurrentPage()->sendCommand(IDC_CPB_ENABLE_LEGENDS, BN_CLICKED);
            EXPECT_TRUE(dlgItem(page, IDC_CPB_EDIT_LEGENDS)->isEnabled());
            bool seen = false;
            QTimer::singleShot(0, [&] {
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (auto* legends = dynamic_cast<IconDescription*>(window); legends && legends->isVisible()) {
                        seen = true;
                        EXPECT_EQ(text(legends, IDC_LEGEND_TEXT1), "Pulse check");
                        auto* picture = dlgItem<QLabel>(legends, IDC_LEGEND_ICON3);
                        EXPECT_EQ(picture->pixmap().size(), QSize(16, 15));
                        setText(legends, IDC_LEGEND_TEXT3, "Airway");
                        legends->grab().save(screenshot("icon-legends.png"));
                        legends->sendCommand(IDOK, BN_CLICKED);
                    }
            });
            page->sendCommand(IDC_CPB_EDIT_LEGENDS, BN_CLICKED);
            EXPECT_TRUE(seen);
            if (keep)
                dialog.sendCommand(IDOK, BN_CLICKED);
        });
    };
    editLegends(false);
    EXPECT_EQ(committed().getLegend(2), "");
    EXPECT_FALSE(committed().enableLegends);
    editLegends(true);
    EXPECT_EQ(committed().getLegend(2), "Airway");
    EXPECT_EQ(committed().getLegend(0), "Pulse check");
    EXPECT_TRUE(committed().enableLegends);
    PropertyPage4::setCatalogueFolder(".");
}

TEST_F(ConfigurationDialogTest, ScreenshotsOfEveryPage)
{
    withDialog(0, [&](ConfigurationDialog& dialog) {
        const char* names[] = { "config-page-0.png", "config-page-1.png", "config-page-2.png", "config-page-3.png" };
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(dialog.selectPage(i));
            EXPECT_TRUE(dialog.getCurrentPage()->isVisible());
            dialog.grab().save(screenshot(names[i]));
        }
        // Every page lies inside the dialog.
        EXPECT_TRUE(dialog.rect().contains(dialog.getCurrentPage()->geometry()));
    });
}

TEST_F(ConfigurationDialogTest, ControllerButtonsFollowThePortTableAndOkSendsFirst)
{
    sim::SimModemLines::install();
    sim::PortsFolder ports;
    CalibrateManager& table = CalibrateManager::get();
    table.scanPorts();
    ASSERT_EQ(table.countCPB(), 0);

    auto buttonsShown = [](ConfigurationDialog& dialog) {
        return !dlgItem(&dialog, IDC_CONFIG_GET)->isHidden() && !dlgItem(&dialog, IDC_CONFIG_SEND)->isHidden();
    };
    auto buttonsHidden = [](ConfigurationDialog& dialog) {
        return dlgItem(&dialog, IDC_CONFIG_GET)->isHidden() && dlgItem(&dialog, IDC_CONFIG_SEND)->isHidden();
    };
    auto controller = std::make_unique<sim::QueryDevice>(ports.path(), 6, sim::QueryDevice::controllerIdentity());
    ASSERT_TRUE(controller->start());

    withDialog(4, [&](ConfigurationDialog& dialog) {
        EXPECT_TRUE(buttonsHidden(dialog));
        // "Look for CPR Controllers..." searches the ports in the modal
        // Communication window; closed once it found the controller, the
        // buttons are there without reopening the dialog.
        QTimer poll;
        int polls = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            ++polls;
            if (table.countCPB() == 0 && polls < 600)
                return;
            poll.stop();
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* view = dynamic_cast<CalibrateView*>(window); view && view->isVisible()) {
                    EXPECT_TRUE(buttonsShown(dialog));
                    view->sendCommand(IDCANCEL, BN_CLICKED);
                }
        });
        poll.start(50);
        dialog.getCurrentPage()->sendCommand(IDC_CPB_LOOK_FOR, BN_CLICKED);
        ASSERT_EQ(table.countCPB(), 1);
        EXPECT_TRUE(buttonsShown(dialog));
        ASSERT_TRUE(dialog.selectPage(0));
        dialog.grab().save(screenshot("config-with-controller.png"));

        // Get: the device's setup becomes the edit copy, shown at once.
        transfer.answer = IDOK;
        transfer.device.metronomeFrequency = 80;
        dialog.sendCommand(IDC_CONFIG_GET, BN_CLICKED);
        EXPECT_EQ(transfer.gets, 1);
        EXPECT_EQ(text(dialog.getCurrentPage(), IDC_GENERAL_METRONOME), "80");
        EXPECT_EQ(committed().metronomeFrequency, 100.0);

        // Send offers the edit copy with the page's entry, even an invalid
        // one: the prompt shows and the edit copy goes as it was.
        setText(dialog.getCurrentPage(), IDC_GENERAL_METRONOME, "90");
        dialog.sendCommand(IDC_CONFIG_SEND, BN_CLICKED);
        EXPECT_EQ(transfer.sends, 1);
        EXPECT_EQ(transfer.sent.metronomeFrequency, 90.0);
        setText(dialog.getCurrentPage(), IDC_GENERAL_METRONOME, "900");
        dialog.sendCommand(IDC_CONFIG_SEND, BN_CLICKED);
        EXPECT_EQ(transfer.sends, 2);
        EXPECT_EQ(transfer.sent.metronomeFrequency, 90.0);
        EXPECT_EQ(prompts.size(), 1u);
        setText(dialog.getCurrentPage(), IDC_GENERAL_METRONOME, "95");

        // OK sends first; a cancelled selector does not stop the OK.
        transfer.answer = IDCANCEL;
        dialog.sendCommand(IDOK, BN_CLICKED);
        EXPECT_EQ(transfer.sends, 3);
        EXPECT_EQ(transfer.sent.metronomeFrequency, 95.0);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(committed().metronomeFrequency, 95.0);

    // Get, then Cancel: the device's setup is discarded.
    transfer.answer = IDOK;
    transfer.device.metronomeFrequency = 70;
    withDialog(0, [&](ConfigurationDialog& dialog) {
        EXPECT_TRUE(buttonsShown(dialog));
        dialog.sendCommand(IDC_CONFIG_GET, BN_CLICKED);
        EXPECT_EQ(text(dialog.getCurrentPage(), IDC_GENERAL_METRONOME), "70");
        controller.reset(); // unplugged: the next search no longer finds it
        table.scanPorts();
        EXPECT_EQ(table.countCPB(), 0);
        EXPECT_TRUE(buttonsHidden(dialog));
    });
    EXPECT_EQ(committed().metronomeFrequency, 95.0);
    // Without a controller OK sends nothing.
    const int sends = transfer.sends;
    withDialog(0, [&](ConfigurationDialog& dialog) { dialog.sendCommand(IDOK, BN_CLICKED); });
    EXPECT_EQ(transfer.sends, sends);
}

// The algorithm boxes on a real database.
class ConfigurationAlgorithmsTest : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        dbtest::DbTest::SetUp();
        res::registerResources();
        for (const char* name : { "AHA 2005 (American Heart Association)", "ERC 2005 (European Resuscitation Council)",
                                  "Local" })
            exec("INSERT INTO Algorithm (Name) VALUES ('" + std::string(name) + "')");
        Configuration::instance().getController().setModel(PropertyModel());
    }
    void TearDown() override
    {
        PropertyPage4::setAlgorithmEditor({});
        dbtest::DbTest::TearDown();
    }
    const PropertyModel& committed() { return Configuration::instance().getModel(); }

    TempDir folder;
    InFolder in { folder.path() }; // where the configuration would load from
};

TEST_F(ConfigurationAlgorithmsTest, BoxesListTheTableSelectByPrefixAndStoreTheChoice)
{
    std::vector<std::string> edited;
    runDialog(4, [&](ConfigurationDialog& dialog) {
        Dialog* page = dialog.getCurrentPage();
        auto* first = dlgItem<ComboBox>(page, IDC_CPB_ALGORITHM1);
        auto* second = dlgItem<ComboBox>(page, IDC_CPB_ALGORITHM2);
        ASSERT_EQ(first->getCount(), 3);
        EXPECT_EQ(first->getLBText(2), "Local");
        // The configured short names select the built-in guidelines they begin.
        EXPECT_EQ(first->getLBText(first->getCurSel()), "AHA 2005 (American Heart Association)");
        EXPECT_EQ(second->getLBText(second->getCurSel()), "ERC 2005 (European Resuscitation Council)");
        EXPECT_FALSE(dlgItem(page, IDC_CPB_DETAILS1)->isEnabled()); // no editor registered
        second->setCurSel(2);
        dialog.sendCommand(IDOK, BN_CLICKED);
    });
    EXPECT_EQ(committed().getAlgorithm1Name(), "AHA 2005 (American Heart Association)");
    EXPECT_EQ(committed().getAlgorithm2Name(), "Local");

    // "Details..." opens the editor on the box's name, then refills the boxes
    // and selects the name the editor showed last.
    PropertyPage4::setAlgorithmEditor([&](const std::string& shown) {
        edited.push_back(shown);
        exec("INSERT INTO Algorithm (Name) VALUES ('Added')");
        return std::string("Added");
    });
    runDialog(4, [&](ConfigurationDialog& dialog) {
        Dialog* page = dialog.getCurrentPage();
        ASSERT_TRUE(dlgItem(page, IDC_CPB_DETAILS2)->isEnabled());
        page->sendCommand(IDC_CPB_DETAILS2, BN_CLICKED);
        auto* first = dlgItem<ComboBox>(page, IDC_CPB_ALGORITHM1);
        auto* second = dlgItem<ComboBox>(page, IDC_CPB_ALGORITHM2);
        EXPECT_EQ(second->getCount(), 4);
        EXPECT_EQ(getComboTextOf(second), "Added");
        EXPECT_EQ(getComboTextOf(first), "AHA 2005 (American Heart Association)"); // kept through the refill
    });
    EXPECT_EQ(edited, std::vector<std::string> { "Local" });
    EXPECT_EQ(committed().getAlgorithm2Name(), "Local"); // cancelled
}

} // namespace
