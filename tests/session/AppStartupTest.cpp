// Start-ups of the training program that change the process for good (its
// data source, its code page), each test in its own process: without a data
// source, in a language with another code page, and with a simulated
// manikin of each kind on the serial ports.
#include "CPB/windows/CPBTransfer.h"
#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "comm/CalibrateManager.h"
#include "comm/DemoSets.h"
#include "config/Configuration.h"
#include "platform/CodePage.h"
#include "platformqt/MessageBox.h"
#include "session/MainFrame.h"
#include "session/SessionManager.h"
#include "session/TrainingApp.h"
#include "ui/FormChildFrame.h"
#include "sim/HandshakeDevices.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace testsupport;

namespace {

class StartupTest : public testing::Test {
protected:
    void SetUp() override
    {
        QApplication::setQuitOnLastWindowClosed(false);
        ::setenv("XDG_CONFIG_HOME", home.file("config").c_str(), 1);
        ::setenv("TAVO_SOUND_DEVICE", "null", 1);
        // No data source anywhere.
        std::ofstream(home.file("odbc.ini")) << "";
        std::ofstream(home.file("odbcinst.ini")) << "";
        ::setenv("ODBCINI", home.file("odbc.ini").c_str(), 1);
        ::setenv("ODBCSYSINI", home.path().c_str(), 1);
        std::filesystem::create_directories(home.file("work"));
        std::filesystem::current_path(home.file("work"));
        platform::setMessageBoxHook([this](const platform::MessageBoxRequest& request) {
            boxes.push_back(request.text);
            return 2;
        });
        dbui::setMessageBoxHook([this](QMessageBox& box) {
            databaseBoxes.push_back(box.text().toStdWString());
            return static_cast<int>(QMessageBox::Ok);
        });
    }
    void TearDown() override
    {
        platform::setMessageBoxHook(nullptr);
        dbui::setMessageBoxHook(nullptr);
        std::filesystem::current_path("/");
    }

    TempDir home;
    std::vector<std::wstring> boxes;
    std::vector<std::wstring> databaseBoxes;
};

TEST_F(StartupTest, WithoutDataSourceOneBoxAndTheProgramRunsOn)
{
    auto app = std::make_unique<TrainingApp>("");
    ASSERT_TRUE(app->initInstance());
    ASSERT_EQ(databaseBoxes.size(), 1u);
    EXPECT_NE(databaseBoxes[0].find(L"tavocpr"), std::wstring::npos);
    EXPECT_FALSE(databaseOpen);
    ASSERT_NE(app->mainFrame(), nullptr);
    EXPECT_TRUE(app->mainFrame()->isVisible());
    EXPECT_EQ(app->startupSteps().back().name, "default content") << "every step after the database ran";
    EXPECT_FALSE(app->demo);
    EXPECT_NE(sessionManager, nullptr);
    EXPECT_NE(dynamic_cast<CPBSetupTransfer*>(Configuration::instance().transfer()), nullptr)
        << "the configuration's Send and Get buttons reach the CPR Controllers";

    // Leaving: the settings are saved, the demonstration sets and the
    // session manager are gone.
    app->exitInstance();
    EXPECT_TRUE(std::filesystem::exists("configuration.cprcfg"));
    EXPECT_EQ(sessionManager, nullptr);
    for (int set = 0; set < DemoSets::count; ++set)
        EXPECT_EQ(DemoSets::get(set), nullptr);
    EXPECT_EQ(app->mainFrame(), nullptr);
}

TEST_F(StartupTest, LanguageCodePageIsSetBeforeTheMenusAreBuilt)
{
    auto app = std::make_unique<TrainingApp>(std::string("lang:") + TEST_CATALOGUE_DIR + "/ja.mo");
    ASSERT_TRUE(app->initInstance());
    EXPECT_EQ(platform::ansiCodePage(), 932u);
    // The catalogue holds the menu texts in code page 932: read with any
    // other code page they would come out garbled.
    EXPECT_EQ(app->mainFrame()->menuBar()->actions()[0]->text(), QString::fromUtf8("ファイル(&F)"));
    EXPECT_EQ(app->mainFrame()->menuBar()->actions()[1]->text(), QString::fromUtf8("ツール(&T)"));
}

TEST_F(StartupTest, CalibratesASimulatedManikinOfEachKind)
{
    sim::SimModemLines::install();
    sim::PortsFolder ports;
    sim::QueryDevice first(ports.path(), 3);
    sim::FramedDevice framed(ports.path(), 4);
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(framed.start());

    auto app = std::make_unique<TrainingApp>("");
    ASSERT_TRUE(app->initInstance());
    CalibrateManager& table = CalibrateManager::get();
    EXPECT_TRUE(table.getIsCalibrated(3));
    EXPECT_TRUE(table.getIsCalibrated(4));
    EXPECT_EQ(table.countCalibrated(), 2);
    EXPECT_EQ(boxes.size(), 0u) << "nothing to ask after a clean calibration";
    ASSERT_NE(app->calibrateWindow().frame(), nullptr);
    EXPECT_FALSE(app->calibrateWindow().frame()->isVisible()) << "the Calibrate window closed by itself";
    app.reset();
    EXPECT_EQ(sessionManager, nullptr);
}

} // namespace
