#include "Recording.h"
#include "comm/CollectedData.h"
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "comm/Measurement.h"
#include "comm/SerialPort.h"
#include "platform/Resources.h"
#include "res/DemoRecordings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(DemoRecordings, AreRegisteredAsBinResourcesEqualToTheCommittedFiles)
{
    res::registerDemoRecordings();
    for (int id = 169; id <= 177; ++id) {
        SCOPED_TRACE(id);
        auto r = platform::findResource("BIN", id);
        ASSERT_NE(r.data, nullptr);
        ASSERT_EQ(r.size, 1275u);
        std::string file = testsupport::readFile(std::string(TAVO_DEMO_DIR) + "/" + std::to_string(id) + ".bin");
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.data), r.size), file);
    }
    EXPECT_EQ(platform::findResource("BIN", 168).data, nullptr);
    EXPECT_EQ(platform::findResource("BIN", 178).data, nullptr);

    // A second call (another start-up path) registers the same bytes again.
    auto before = platform::findResource("BIN", 173);
    res::registerDemoRecordings();
    auto after = platform::findResource("BIN", 173);
    EXPECT_EQ(after.data, before.data);
    EXPECT_EQ(after.size, before.size);
}

TEST(DemoRecordings, EachDemonstrationPortPlaysItsSetAsTheGroundTruthDescribes)
{
    res::registerDemoRecordings();
    CommSettings::setDemoMode(true);
    for (int port : { 247, 248, 249 }) {
        SCOPED_TRACE(port);
        const int set = port % 3;
        demo::GroundTruth truth;
        std::ifstream file(std::string(TAVO_DEMO_DIR) + "/set" + std::to_string(set) + ".csv");
        std::string error;
        ASSERT_TRUE(demo::readGroundTruth(file, truth, &error)) << error;
        ASSERT_TRUE(truth.resources.has_value());
        const auto ids = *truth.resources;
        CollectedData compression(ids[0]), ventilation(ids[1]), status(ids[2]);
        DemoSet demoSet { &compression, &ventilation, &status };
        DemoSets::install(set, &demoSet);

        SerialPort serial;
        Comm comm(&serial);
        ASSERT_EQ(comm.open(port), SerialPort::OPEN_OK);
        ASSERT_EQ(comm.calibrationStatus(), Comm::CAL_DONE);
        EXPECT_EQ(serial.zeroCompression, truth.zeroCompression);
        EXPECT_EQ(serial.zeroVentilation, truth.zeroVentilation);

        // One loop and a little of the next.
        comm.start();
        std::vector<Measurement> played;
        std::vector<RawSample> raw;
        for (int i = 0; i < truth.samples + 10; ++i) {
            comm.update();
            RawSample r = comm.popSample();
            raw.push_back(r);
            played.push_back(comm.toMeasurement(comm.removeOffsets(r)));
        }
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(raw[truth.samples + i].compression, raw[i].compression) << "the recording loops";
        EXPECT_EQ(played[0].depth, 0.0);
        EXPECT_EQ(played[0].volume, 0.0);

        int compressions = 0, ventilations = 0;
        for (const demo::Event& e : truth.events) {
            if (e.kind == demo::EventKind::Compression) {
                ++compressions;
                EXPECT_NEAR(played[e.peak].depth, e.units * 25.0 / 101.0, 1e-9) << "compression peak " << e.peak;
                EXPECT_NEAR(played[e.peak].depth, e.size, 5e-5) << e.peak; // the file keeps 4 decimals
                EXPECT_EQ(played[e.peak].flagB, e.wrongHand) << e.peak;
                EXPECT_FALSE(played[e.peak].flagA);
            } else if (e.kind == demo::EventKind::Ventilation) {
                ++ventilations;
                EXPECT_NEAR(played[e.peak].volume, e.units / 112.0, 1e-9) << "ventilation peak " << e.peak;
                EXPECT_NEAR(played[e.peak].volume, e.size, 5e-5) << e.peak;
                EXPECT_EQ(played[e.peak].flagA, e.stomachInflation) << e.peak;
                EXPECT_FALSE(played[e.peak].flagB);
            }
        }
        EXPECT_GE(compressions, 60);
        EXPECT_GE(ventilations, 4);
        DemoSets::install(set, nullptr);
    }
    CommSettings::setDemoMode(false);
}

} // namespace
