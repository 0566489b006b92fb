// Reading a CPR Controller's setup back, against the simulated controller on
// a pseudo-terminal and an SQLite algorithm table: what lands in the setup
// and the table, what the progress window shows, and what a failing unit
// leaves untouched.
#include "CPB/CPBSend.h"
#include "CPB/MemoryMap.h"
#include "CPB/windows/CPBGet.h"
#include "CPB/windows/CPBTransfer.h"
#include "CPB/windows/ProgressDialog.h"
#include "Database/AlgorithmTable.h"
#include "Database/DbTestSupport.h"
#include "Database/StationProcesses.h"
#include "comm/CalibrateManager.h"
#include "config/Configuration.h"
#include "config/ConfigurationDialog.h"
#include "config/PropertyModel.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "sim/ControllerDevice.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <filesystem>
#include <limits>

namespace {

using sim::Bytes;
using platform::dlgItem;

constexpr int port = 14;

Bytes floats(std::initializer_list<float> values)
{
    Bytes out;
    for (float v : values) {
        ByteVector b = MemoryMap::floatBytes(v);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

Bytes text(const std::string& s, bool terminated = true)
{
    Bytes out(s.begin(), s.end());
    if (terminated)
        out.push_back(0);
    return out;
}

class CPBGetTest : public dbtest::DbTest {
protected:
    CPBGetTest()
        : device(ports.path(), port)
    {
        sim::SimModemLines::install();
    }

    static void SetUpTestSuite() { res::registerResources(); }

    void SetUp() override
    {
        dbtest::DbTest::SetUp();
        ASSERT_TRUE(device.start());
        CalibrateManager::get().scanPorts();
        ASSERT_EQ(CalibrateManager::get().getCPBPorts(), std::vector<int> { port });
        parent.setWindowTitle("Configuration");
        parent.resize(420, 300);
        parent.show();
        model.printHeading = L"Station heading";
    }

    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        device.stop();
        dbtest::DbTest::TearDown();
    }

    // The algorithm areas of a unit: values at +0, +4, +12, +40 and +64, the name at +0x80.
    void pokeAlgorithm(std::uint16_t block, const std::string& name, std::initializer_list<float> values)
    {
        std::vector<float> v(values);
        device.poke(0x51, block, floats({ v[0], v[1], v[2], v[3], v[4] }));
        device.poke(0x51, block + 40, floats({ v[5], v[6] }));
        device.poke(0x51, block + 64, floats({ v[7], v[8] }));
        device.poke(0x51, block + 0x80, text(name));
    }

    Algorithm stored(const std::string& name)
    {
        AlgorithmTable table(database);
        EXPECT_TRUE(table.open(""));
        EXPECT_EQ(table.count(name), 1) << name;
        return table.findByName(name);
    }

    int storedRows() { return std::stoi(scalar("SELECT COUNT(*) FROM Algorithm")); }

    QString shown(ProgressDialog* window, int id) { return dlgItem<QWidget>(window, id)->property("text").toString(); }

    sim::PortsFolder ports;
    sim::ControllerDevice device;
    QDialog parent;
    PropertyModel model;
};

TEST_F(CPBGetTest, UnitsSetupLandsInTheSetupAndTheAlgorithmTable)
{
    // A stored built-in guideline of the first name (in another case): the
    // unit's nine values replace its own; everything else of it stays.
    exec("INSERT INTO Algorithm (Name, compDepthLow, compDepthHigh, compRelaxHigh, compRelaxLow, compRelaxRecc, "
         "eccRateLow, eccRateHigh, initVent, ventCompRatioDoubleComp, ventCompRatioDoubleVent, "
         "ventCompRatioSingleComp, ventCompRatioSingleVent, vRateLow, vRateHigh, vVolLow, vVolHigh, builtIn, "
         "pauseEccMax) VALUES ('AHA 2005 (American Heart Association)', 1, 2, 70, 30, 45, 3, 4, 9, 15, 2, 30, 2, 5, 6, 0.1, 0.2, TRUE, 12)");
    exec("INSERT INTO Algorithm (Name, builtIn) VALUES ('Unrelated', FALSE)");
    device.poke(0x51, 0x7FF0, { 3, 255, 96, 97, 0, 10 });
    device.poke(0x51, 0x7FE0, { 1, 2, 12 });
    device.poke(0x51, 0x7FB0, { 0x00, 0x00, 0x00 });
    pokeAlgorithm(0x7D00, "aha 2005 (american heart association)", { 1.999f, 12, 20, 0.599999f, 0.7f, 100, 120, 30, 38 });
    // Limits that are equal make a band the editor keeps too.
    pokeAlgorithm(0x7E00, "Field guideline", { 0, 10, 10, 0.5f, 0.7f, 95, 115, 45, 55 });
    device.poke(0x51, 0x7C00, text("Rescue school\r\nNorth"));

    PropertyModel before = model;
    CPBGet reader;
    EXPECT_TRUE(reader.get(port, &model, &parent));

    EXPECT_EQ(model.icons, (std::vector<std::int32_t> { 3, before.icons[1], 96, before.icons[3], 0, 10 }));
    EXPECT_EQ(model.languages, (std::vector<std::string> { "de", "fr", before.languages[2] }));
    // The eight switches the unit carries are off; the others are as they were.
    for (bool PropertyModel::*on : { &PropertyModel::showInitialVentilations, &PropertyModel::showVentilationRate,
                                     &PropertyModel::showAverageVolume, &PropertyModel::showStomachInflations,
                                     &PropertyModel::showCompressionRate, &PropertyModel::showCompressionDepth,
                                     &PropertyModel::showWrongHandPositions, &PropertyModel::printApprovalFields })
        EXPECT_FALSE(model.*on);
    for (bool PropertyModel::*kept : { &PropertyModel::showMinuteVolume, &PropertyModel::showCompRelaxRatio,
                                       &PropertyModel::showPause, &PropertyModel::showLeanings,
                                       &PropertyModel::registerEvents, &PropertyModel::endSound,
                                       &PropertyModel::printDebriefingText, &PropertyModel::debriefingAsCounts })
        EXPECT_EQ(model.*kept, before.*kept);
    EXPECT_EQ(model.getAlgorithm1Name(), "aha 2005 (american heart association)");
    EXPECT_EQ(model.getAlgorithm2Name(), "Field guideline");
    EXPECT_EQ(model.printHeading, L"Rescue school\r\nNorth");

    const Algorithm first = stored(AlgorithmTable::ahaName);
    EXPECT_EQ(first.Name, AlgorithmTable::ahaName) << "the stored row keeps its name";
    EXPECT_EQ(first.initVent, 2);
    EXPECT_DOUBLE_EQ(first.vRateLow, 12);
    EXPECT_DOUBLE_EQ(first.vRateHigh, 20);
    EXPECT_DOUBLE_EQ(first.vVolLow, 0.6);
    EXPECT_DOUBLE_EQ(first.vVolHigh, 0.7);
    EXPECT_DOUBLE_EQ(first.eccRateLow, 100);
    EXPECT_DOUBLE_EQ(first.eccRateHigh, 120);
    EXPECT_DOUBLE_EQ(first.compDepthLow, 30);
    EXPECT_DOUBLE_EQ(first.compDepthHigh, 38);
    EXPECT_TRUE(first.builtIn);
    EXPECT_DOUBLE_EQ(first.compRelaxHigh, 70) << "values the unit does not carry are kept";
    EXPECT_DOUBLE_EQ(first.compRelaxRecc, 45);
    EXPECT_DOUBLE_EQ(first.ventCompRatioSingleComp, 30);
    EXPECT_EQ(first.pauseEccMax, 12);

    Algorithm second = stored("Field guideline");
    Algorithm expected;
    expected.Name = "Field guideline";
    expected.initVent = 0;
    expected.vRateLow = 10;
    expected.vRateHigh = 10;
    expected.vVolLow = 0.5;
    expected.vVolHigh = 0.7;
    expected.eccRateLow = 95;
    expected.eccRateHigh = 115;
    expected.compDepthLow = 45;
    expected.compDepthHigh = 55;
    expected.builtIn = false;
    EXPECT_EQ(second, expected) << "a new row: the unit's values and the defaults";
    EXPECT_EQ(storedRows(), 3);

    ProgressDialog* window = reader.progressWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Tavo CPR Controller on COM14");
    EXPECT_EQ(window->getPos(), 1000);
    EXPECT_EQ(shown(window, IDC_PROGRESS_TEXT), "Transfer done.");
    EXPECT_EQ(shown(window, IDCANCEL), "Close");
    EXPECT_TRUE(window->isButtonEnabled());
    EXPECT_FALSE(parent.isEnabled()) << "the owner stays disabled until the window is closed";
    window->grab().save(ARTEFACT_DIR "/get-done.png");
    window->sendCommand(IDCANCEL, BN_CLICKED);
    EXPECT_TRUE(parent.isEnabled());
    EXPECT_FALSE(device.transcript().empty());
    for (const auto& request : device.transcript())
        EXPECT_EQ(request.command, 2) << "a get writes nothing to the unit";
}

TEST_F(CPBGetTest, ErasedUnitChangesNothingButTheSwitchesAndHeading)
{
    // All 0xFF: no icons, no languages (even with valid bytes after the
    // first), no names; the flags read as on.
    device.poke(0x51, 0x7FE0, { 255, 1, 2 });
    PropertyModel before = model;
    before.showCardiacOutput = false;
    model.showCardiacOutput = false;
    model.showInitialVentilations = false;
    CPBGet reader;
    EXPECT_TRUE(reader.get(port, &model, &parent));
    EXPECT_EQ(model.icons, before.icons);
    EXPECT_EQ(model.languages, before.languages);
    EXPECT_EQ(model.getAlgorithm1Name(), before.getAlgorithm1Name());
    EXPECT_EQ(model.getAlgorithm2Name(), before.getAlgorithm2Name());
    EXPECT_TRUE(model.showInitialVentilations);
    EXPECT_FALSE(model.showCardiacOutput) << "not carried by the unit";
    EXPECT_EQ(model.printHeading, L"");
    EXPECT_EQ(storedRows(), 0);
    EXPECT_EQ(reader.progressWindow()->getPos(), 1000);
}

struct FailureCase {
    const char* name;
    std::function<void(sim::ControllerDevice&)> prepare;
    int progress;
    bool iconsRead;
    const char* logged = nullptr;
};

TEST_F(CPBGetTest, FailingUnitReportsTheFailureAndKeepsWhatCameBefore)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Algorithm 1 with sound values but one, at that offset of its block.
    auto unitWith = [](int offset, float value) {
        return [offset, value](sim::ControllerDevice& d) {
            d.poke(0x51, 0x7D00, floats({ 2, 12, 20, 0.4f, 0.6f }));
            d.poke(0x51, 0x7D28, floats({ 90, 110 }));
            d.poke(0x51, 0x7D40, floats({ 40, 50 }));
            d.poke(0x51, static_cast<std::uint16_t>(0x7D00 + offset), floats({ value }));
            d.poke(0x51, 0x7D80, text("Pediatric"));
        };
    };
    const std::vector<FailureCase> cases {
        { "silent after the handshake", [](sim::ControllerDevice& d) { d.setSilentAfterHandshake(true); }, 0, false },
        { "a value that is no number",
          [&](sim::ControllerDevice& d) {
              d.poke(0x51, 0x7D00, floats({ 2, 12, 20, nan, 0.6f }));
              d.poke(0x51, 0x7D80, text("Pediatric"));
          },
          30 + 15 + 15 + 170 + 200 + 200, true },
        { "a value out of any range",
          [&](sim::ControllerDevice& d) {
              d.poke(0x51, 0x7D00, floats({ 2, 12, 20, 0.4f, 0.6f }));
              d.poke(0x51, 0x7D28, floats({ 90, 110 }));
              d.poke(0x51, 0x7D40, floats({ 3e9f, 50 }));
              d.poke(0x51, 0x7D80, text("Pediatric"));
          },
          30 + 15 + 15 + 170 + 200 + 200, true },
        // Finite values that no field of the guideline editor keeps.
        { "a depth of 500000 mm", unitWith(64, 500000), 630, true },
        { "a depth of -40 mm", unitWith(64, -40), 630, true },
        { "21 initial ventilations", unitWith(0, 21), 630, true },
        { "a volume of 5.5 L", unitWith(16, 5.5f), 630, true },
        { "an ECC rate of 0", unitWith(40, 0), 630, true },
        // Each value within its range, but a band that nothing can hit.
        { "a depth of 60 to 50 mm", unitWith(64, 60), 630, true, "compDepthLow 60 above compDepthHigh 50" },
        { "an ECC rate of 120 to 110", unitWith(40, 120), 630, true, "eccRateLow 120 above eccRateHigh 110" },
        { "a ventilation rate of 25 to 20", unitWith(4, 25), 630, true, "vRateLow 25 above vRateHigh 20" },
        { "a volume of 0.8 to 0.6 L", unitWith(12, 0.8f), 630, true, "vVolLow 0.8 above vVolHigh 0.6" },
        { "a company name without an end",
          [](sim::ControllerDevice& d) { d.poke(0x51, 0x7C00, Bytes(256, 'x')); }, 800, true },
        { "a unit that stops answering",
          [](sim::ControllerDevice& d) {
              sim::ControllerFault f;
              f.kind = sim::ControllerFault::NoAnswer;
              f.atBank = 0x51;
              f.atOffset = 0x7FE0;
              f.times = -1;
              d.addFault(f);
          },
          30, true },
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        device.clearFaults();
        device.setSilentAfterHandshake(false);
        device.poke(0x51, 0x7FF0, { 7, 7, 7, 7, 7, 7 });
        device.poke(0x51, 0x7D00, Bytes(0x200, 0xFF));
        device.poke(0x51, 0x7C00, text("Company"));
        c.prepare(device);
        model = PropertyModel();
        model.printHeading = L"Station heading";
        const PropertyModel before = model;

        testsupport::LogCapture log;
        CPBGet reader;
        EXPECT_FALSE(reader.get(port, &model, &parent));
        if (c.logged) {
            EXPECT_NE(log.text().find(c.logged), std::string::npos) << log.text();
        }
        ProgressDialog* window = reader.progressWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(shown(window, IDC_PROGRESS_TEXT), "An error occurred, please try again.");
        EXPECT_EQ(shown(window, IDCANCEL), "Close");
        EXPECT_EQ(window->getPos(), c.progress);
        EXPECT_EQ(model.icons, c.iconsRead ? std::vector<std::int32_t>(6, 7) : before.icons);
        EXPECT_EQ(model.getAlgorithm1Name(), before.getAlgorithm1Name()) << "no name without its values";
        EXPECT_EQ(model.printHeading, before.printHeading);
        EXPECT_EQ(storedRows(), 0);
        if (c.progress == 0)
            window->grab().save(ARTEFACT_DIR "/get-failed.png");
        window->sendCommand(IDCANCEL, BN_CLICKED);
        EXPECT_TRUE(parent.isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(CPBGetTest, TheSelectorStartsTheReadingOfTheChosenController)
{
    device.poke(0x51, 0x7FF0, { 11, 12, 13, 14, 15, 16 });
    for (int button : { IDCANCEL, IDOK }) {
        SCOPED_TRACE(button);
        PropertyModel before = model;
        QTimer::singleShot(0, [button] {
            auto* selector = qobject_cast<platform::Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(selector, nullptr);
            EXPECT_EQ(selector->windowTitle(), "Get setup from CPR Controller");
            selector->sendCommand(button, BN_CLICKED);
        });
        device.clearTranscript();
        EXPECT_EQ(CPBTransfer::instance().getSetup(&model, &parent), button);
        if (button == IDCANCEL) {
            EXPECT_EQ(model, before);
            EXPECT_TRUE(device.transcript().empty());
            EXPECT_TRUE(parent.isEnabled());
        } else {
            EXPECT_EQ(model.icons, (std::vector<std::int32_t> { 11, 12, 13, 14, 15, 16 }));
            EXPECT_FALSE(parent.isEnabled());
            auto* window = qobject_cast<ProgressDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            window->sendCommand(IDCANCEL, BN_CLICKED);
            EXPECT_TRUE(parent.isEnabled());
        }
    }
}

TEST_F(CPBGetTest, ConfigurationDialogsGetButtonReadsTheController)
{
    device.poke(0x51, 0x7FF0, { 21, 22, 23, 24, 25, 26 });
    device.poke(0x51, 0x7C00, text("Heading from the unit"));
    testsupport::TempDir folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    Configuration& configuration = Configuration::instance();
    std::filesystem::current_path(previous);
    configuration.getController().setModel(PropertyModel());
    CPBSetupTransfer transfer;
    configuration.setTransfer(&transfer);

    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<ConfigurationDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(0, [] {
            auto* selector = qobject_cast<platform::Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(selector, nullptr);
            selector->sendCommand(IDOK, BN_CLICKED);
        });
        dialog->sendCommand(IDC_CONFIG_GET, BN_CLICKED);
        auto* window = qobject_cast<ProgressDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(shown(window, IDC_PROGRESS_TEXT), "Transfer done.");
        EXPECT_FALSE(dialog->isEnabled()) << "until the outcome has been seen";
        window->sendCommand(IDCANCEL, BN_CLICKED);
        EXPECT_TRUE(dialog->isEnabled());
        auto* icon = dlgItem<platform::ComboBox>(dialog->getCurrentPage(), IDC_CPB_ICON1);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->currentData().toInt(), 21) << "the page shows what was read";
        EXPECT_EQ(configuration.getEditModel().icons, (std::vector<std::int32_t> { 21, 22, 23, 24, 25, 26 }));
        EXPECT_EQ(configuration.getEditModel().printHeading, L"Heading from the unit");
        dialog->sendCommand(IDCANCEL, BN_CLICKED);
        ran = true;
    });
    configuration.showDialog(4, &parent);
    EXPECT_TRUE(ran);
    EXPECT_EQ(configuration.getModel(), PropertyModel()) << "nothing is kept when the dialog is cancelled";
    configuration.setTransfer(nullptr);
}

TEST_F(CPBGetTest, WhatASendWroteComesBackWithAGet)
{
    exec("INSERT INTO Algorithm (Name, compDepthLow, compDepthHigh, eccRateLow, eccRateHigh, initVent, vRateLow, "
         "vRateHigh, vVolLow, vVolHigh, builtIn) VALUES ('Pediatric', 30, 38, 100, 120, 5, 12, 20, 0.1, 0.3, FALSE)");
    PropertyModel sent;
    sent.icons = { 5, 6, 7, 8, 9, 10 };
    sent.languages = { "fr", "it", "en" };
    sent.showStomachInflations = false;
    sent.printApprovalFields = false;
    sent.showWrongHandPositions = false;
    sent.setAlgorithm1Name("Pediatric");
    sent.setAlgorithm2Name("Not stored");
    sent.printHeading = L"Rescue school\r\nNorth";
    const Algorithm pediatric = stored("Pediatric");

    CPBSend sender;
    ASSERT_TRUE(sender.transfer(*CalibrateManager::get().getSerialPort(port), sent));
    exec("DELETE FROM Algorithm");

    PropertyModel got;
    got.showInitialVentilations = false;
    CPBGet reader;
    ASSERT_TRUE(reader.get(port, &got, &parent));
    EXPECT_EQ(got.icons, sent.icons);
    EXPECT_EQ(got.languages, sent.languages);
    for (bool PropertyModel::*flag : { &PropertyModel::showInitialVentilations, &PropertyModel::showVentilationRate,
                                       &PropertyModel::showAverageVolume, &PropertyModel::showStomachInflations,
                                       &PropertyModel::showCompressionRate, &PropertyModel::showCompressionDepth,
                                       &PropertyModel::showWrongHandPositions, &PropertyModel::printApprovalFields })
        EXPECT_EQ(got.*flag, sent.*flag);
    EXPECT_EQ(got.getAlgorithm1Name(), "Pediatric");
    EXPECT_EQ(got.getAlgorithm2Name(), "Not stored");
    EXPECT_EQ(got.printHeading, sent.printHeading);
    EXPECT_EQ(stored("Pediatric"), pediatric) << "the values sent come back as they were";
    Algorithm defaults;
    defaults.Name = "Not stored";
    EXPECT_EQ(stored("Not stored"), defaults) << "a name the table lacked was sent with the defaults";
    reader.progressWindow()->sendCommand(IDCANCEL, BN_CLICKED);
}

// Two stations read their units at one moment, and both units carry a
// guideline the table does not have yet: it is stored once.
class CPBGetStationsTest : public dbtest::DbTest {};

TEST_F(CPBGetStationsTest, TwoStationsStoringOneNewGuidelineAtOnceStoreItOnce)
{
    constexpr int rounds = 20;
    const std::vector<double> values { 2, 10, 12, 0.5, 0.7, 95, 115, 45, 55 };
    {
        dbtest::StationProcesses stations(2, [&](int, int round) {
            return CPBGet::storeValues("Unit " + std::to_string(round), values);
        });
        ASSERT_TRUE(stations.started(2));
        for (int round = 0; round < rounds; ++round) {
            const std::vector<bool> done = stations.round();
            EXPECT_TRUE(done[0] && done[1]) << "round " << round << ": both stores are done, one as an update";
        }
    }
    for (int round = 0; round < rounds; ++round)
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm WHERE Name = 'Unit " + std::to_string(round) + "'"), "1")
            << "round " << round;
}

} // namespace
