#include "CPB/BarGenerator.h"
#include "CPB/CPBSend.h"
#include "CPB/DebriefGenerator.h"
#include "CPB/EventIconImages.h"
#include "CPB/GraphGenerator.h"
#include "CPB/MemoryMap.h"
#include "CPB/Pointer.h"
#include "Database/DbTestSupport.h"
#include "Utillib/GString.h"
#include "comm/SerialPort.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"
#include "gettext/Translator.h"
#include "platform/CodePage.h"
#include "sim/ControllerDevice.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <QPainter>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using sim::Bytes;

// Event pictures that tell their number: a black frame and one black dot at
// (number % 16 + 4, number / 16 + 4), on a transparent ground with a grey
// (not black) mark that must not become a dot.
class NumberedIcons : public EventIconImages {
public:
    QImage image24(int number) const override { return draw(number, 24); }
    QImage image32(int number) const override { return draw(number, 32); }

    static QImage draw(int number, int size)
    {
        if (number < 0 || number >= MemoryMap::EVENT_ICON_COUNT)
            return {};
        QImage icon(size, size, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        p.setPen(Qt::black);
        p.drawRect(0, 0, size - 1, size - 1);
        p.fillRect(2, 2, 2, 2, QColor(1, 1, 1));
        p.end();
        icon.setPixel(number % 16 + 4, number / 16 + 4, qRgb(0, 0, 0));
        return icon;
    }
};

// Records what a send shows.
class ProgressRecord : public SendProgress {
public:
    void setText(const std::wstring& text) override { texts.push_back(text); }
    void step(int n) override
    {
        EXPECT_GT(n, 0) << "the bar never moves backwards";
        position += n;
    }

    std::vector<std::wstring> texts;
    int position = 0;
};

constexpr int port = 14;

class CPBSendTest : public dbtest::DbTest {
protected:
    CPBSendTest()
        : oldFolder(std::filesystem::current_path())
        , lines(sim::SimModemLines::install())
        , device(ports.path(), port)
        , sender(&progress)
    {
        // The screens' catalogues are looked for in the working folder.
        std::filesystem::current_path(CATALOGUE_DIR);
        serial.portNumber = port;
        EventIconImages::install(&icons);
    }
    ~CPBSendTest() override
    {
        EventIconImages::install(nullptr);
        platform::setAnsiCodePage(1252);
        std::filesystem::current_path(oldFolder);
    }

    void SetUp() override
    {
        dbtest::DbTest::SetUp();
        ASSERT_TRUE(device.start());
        exec("INSERT INTO Algorithm (Name, compDepthLow, compDepthHigh, eccRateLow, eccRateHigh, initVent, vRateLow, "
             "vRateHigh, vVolLow, vVolHigh, builtIn) VALUES ('Pediatric', 30, 38, 100, 120, 5, 12, 20, 0.1, 0.3, "
             "FALSE)");
    }

    Bytes area(int name, std::size_t n, int offset = 0) const
    {
        CPBAdr adr = Pointer::get(name) + offset;
        return device.peek(adr.bank, adr.getAdr(), n);
    }

    // Write requests the unit got whose first byte lies in [from, from + n) of the bank.
    int writesIn(std::uint8_t bank, std::uint16_t from, int n) const
    {
        int count = 0;
        for (const auto& r : device.transcript())
            count += r.command == 1 && r.bank == bank && r.offset >= from && r.offset < from + n;
        return count;
    }

    std::vector<sim::ControllerRequest> writes() const
    {
        std::vector<sim::ControllerRequest> out;
        for (const auto& r : device.transcript())
            if (r.command == 1)
                out.push_back(r);
        return out;
    }

    static PropertyModel setup()
    {
        PropertyModel m;
        m.setAlgorithm1Name("Pediatric");
        m.setAlgorithm2Name("Not in the table");
        m.printHeading = L"Rettungsschule M\u00fcnchen\r\nKurs 3";
        for (bool* b : { &m.endSound, &m.debriefingAsCounts, &m.showCardiacOutput, &m.showMinuteVolume,
                         &m.showAverageVolume, &m.showInitialVentilations, &m.showVentilationRate,
                         &m.showStomachInflations, &m.showVentCompRatio, &m.showCompressionRate,
                         &m.showCompressionDepth, &m.showCompRelaxRatio, &m.showPause, &m.showWrongHandPositions,
                         &m.showLeanings, &m.compRelaxAsPercent, &m.printDebriefingText, &m.printApprovalFields,
                         &m.registerEvents })
            *b = true;
        const int icons[] = { 7, 96, 0, 33, 50, 18 };
        for (int i = 0; i < 6; ++i)
            m.setIconNumber(i, icons[i]);
        // The last is no unit language.
        m.languages = { "de", "en", "ja" };
        return m;
    }

    std::filesystem::path oldFolder;
    sim::PortsFolder ports;
    testsupport::LogCapture log;
    sim::SimModemLines& lines;
    sim::ControllerDevice device;
    SerialPort serial;
    NumberedIcons icons;
    ProgressRecord progress;
    CPBSend sender;
};

TEST_F(CPBSendTest, FullSendFillsEveryArea)
{
    const PropertyModel model = setup();
    ASSERT_TRUE(sender.transfer(serial, model));
    EXPECT_FALSE(serial.isOpen) << "the port is closed after the transfer";
    EXPECT_EQ(progress.position, 1000);
    ASSERT_EQ(progress.texts.size(), 7u);
    EXPECT_EQ(progress.texts.front(), L"Sending icons...");
    EXPECT_EQ(progress.texts.back(), L"Sending debriefing...");
    EXPECT_EQ(device.malformedFrames(), 0);

    // Icons: the numbers, and each slot's two pictures with the icon's own dot.
    EXPECT_EQ(area(Pointer::ICON_NUMBERS, 6), (Bytes { 7, 96, 0, 33, 50, 18 }));
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const int n = model.getIconNumber(i);
        const MonoBitmap big = MemoryMap::decodeIcon32(area(Pointer::ICON32_0 + i, 128));
        const MonoBitmap small = MemoryMap::decodeIcon24(area(Pointer::ICON24_0 + i, 72));
        for (const MonoBitmap* picture : { &big, &small }) {
            EXPECT_TRUE(picture->at(n % 16 + 4, n / 16 + 4));
            EXPECT_FALSE(picture->at(n % 16 + 5, n / 16 + 4));
            EXPECT_TRUE(picture->at(0, 0) && picture->at(picture->width - 1, picture->height - 1));
            EXPECT_FALSE(picture->at(2, 2)) << "only exactly black pixels are dots";
            EXPECT_FALSE(picture->at(1, 1)) << "transparent pixels are no dots";
        }
    }

    EXPECT_EQ(area(Pointer::CONFIG_FLAGS, 3), (Bytes { 0xFF, 0xFF, 0xE0 }));

    // Algorithms: the stored guideline, and the defaults for a name the table lacks.
    Bytes name1(40, ' ');
    std::copy_n("Pediatric", 9, name1.begin());
    EXPECT_EQ(area(Pointer::ALGORITHM_NAME_1, 40), name1);
    const Bytes block1 = area(Pointer::ALGORITHM_1, 256);
    EXPECT_EQ(Bytes(block1.begin(), block1.begin() + 4), (Bytes { 0x00, 0x00, 0xA0, 0x40 })) << "5.0f, low byte first";
    const auto a1 = MemoryMap::decodeAlgorithm(block1);
    EXPECT_EQ(a1.name, "Pediatric");
    EXPECT_EQ(std::vector<float>({ a1.vRateLow, a1.vRateHigh, a1.vVolLow, a1.vVolHigh, a1.eccRateLow, a1.eccRateHigh,
                                   a1.compDepthLow, a1.compDepthHigh }),
              std::vector<float>({ 12, 20, 0.1f, 0.3f, 100, 120, 30, 38 }));
    EXPECT_EQ(Bytes(block1.begin() + 20, block1.begin() + 40), Bytes(20, 0xFF)) << "bytes between the values stay";
    const auto a2 = MemoryMap::decodeAlgorithm(area(Pointer::ALGORITHM_2, 256));
    EXPECT_EQ(a2.name, "Not in the table");
    EXPECT_EQ(std::vector<float>({ a2.initVent, a2.vRateLow, a2.vRateHigh, a2.vVolLow, a2.vVolHigh, a2.eccRateLow,
                                   a2.eccRateHigh, a2.compDepthLow, a2.compDepthHigh }),
              std::vector<float>({ 2, 6, 9, 0.4f, 0.6f, 90, 110, 40, 50 }));

    // The print heading in the ANSI code page, line break included.
    const std::string heading = "Rettungsschule M\xFCnchen\r\nKurs 3";
    Bytes company(heading.begin(), heading.end());
    company.push_back(0);
    EXPECT_EQ(area(Pointer::COMPANY_NAME, company.size()), company);

    // Languages: names padded to 10 bytes, then the table's numbers; a code
    // the table lacks is number 255 with a blank name.
    for (int i = 0; i < 2; ++i) {
        std::string name = GString::to_string(LangStruct::nameAt(LangStruct::indexOf(model.languages[i])), 0);
        ASSERT_FALSE(name.empty());
        EXPECT_EQ(area(Pointer::LANGUAGE_TEXT_0 + i, 10), MemoryMap::blankPadded(name, 10));
    }
    EXPECT_EQ(area(Pointer::LANGUAGE_TEXT_2, 10), Bytes(10, ' '));
    EXPECT_EQ(area(Pointer::LANGUAGE_NUMBERS, 3),
              (Bytes { static_cast<std::uint8_t>(LangStruct::indexOf("de")),
                       static_cast<std::uint8_t>(LangStruct::indexOf("en")), 255 }));

    EXPECT_EQ(area(Pointer::PLOT_DATA_1, 117), GraphGenerator(30, 38, 0.1f, 0.3f).getData());
    EXPECT_EQ(area(Pointer::PLOT_DATA_2, 117), GraphGenerator(40, 50, 0.4f, 0.6f).getData());

    // Screens: algorithm 1 in the three unit languages, then algorithm 2.
    const BarGenerator bars1(model, 1);
    const BarGenerator bars2(model, 2);
    const int screenAreas[2][3] = { { Pointer::DEBRIEF_ALG1_LANG0, Pointer::DEBRIEF_ALG1_LANG1,
                                      Pointer::DEBRIEF_ALG1_LANG2 },
                                    { Pointer::DEBRIEF_ALG2_LANG0, Pointer::DEBRIEF_ALG2_LANG1,
                                      Pointer::DEBRIEF_ALG2_LANG2 } };
    std::vector<ByteVector> seen;
    for (int alg = 0; alg < 2; ++alg)
        for (int lang = 0; lang < 3; ++lang) {
            SCOPED_TRACE(testing::Message() << "algorithm " << alg + 1 << ", language " << lang);
            DebriefGenerator screen(model, LangStruct::indexOf(model.languages[lang]), alg == 0 ? &bars1 : &bars2,
                                    alg == 0 ? model.algorithm1Name : model.algorithm2Name);
            const ByteVector& expected = screen.getData();
            EXPECT_EQ(area(screenAreas[alg][lang], expected.size() + 1),
                      [&] {
                          Bytes b = expected;
                          b.push_back(0xFF);
                          return b;
                      }());
            seen.push_back(expected);
        }
    EXPECT_NE(seen[0], seen[1]) << "German and English screens differ";
    EXPECT_NE(seen[0], seen[3]) << "the two algorithms' screens differ";

    // Bars: seven tables per algorithm at their offsets.
    for (int q = 0; q < BarGenerator::QUANTITIES; ++q) {
        SCOPED_TRACE(q);
        const int at = MemoryMap::barTableOffsets[static_cast<std::size_t>(q)];
        EXPECT_EQ(area(Pointer::BAR_DATA_1, bars1.barData(q).size(), at), bars1.barData(q));
        EXPECT_EQ(area(Pointer::BAR_DATA_2, bars2.barData(q).size(), at), bars2.barData(q));
    }
    EXPECT_NE(bars1.barData(5), bars2.barData(5));
}

TEST_F(CPBSendTest, OnlyChangedIconSlotsGetPictures)
{
    PropertyModel model = setup();
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    device.poke(0x51, 0x7FF0, { 7, 96, 0, 33, 50, 18 });
    device.clearTranscript();
    ASSERT_TRUE(sender.sendIcons(comm, model));
    EXPECT_EQ(progress.position, 138);
    auto t = device.transcript();
    ASSERT_EQ(t.size(), 3u) << "a read of the numbers, a write of them unchanged and its read-back";
    EXPECT_EQ(t[0].command, 2);
    EXPECT_EQ(t[1].command, 1);
    EXPECT_EQ(t[1].data, (Bytes { 7, 96, 0, 33, 50, 18 }));
    EXPECT_EQ(t[2].command, 2);

    model.setIconNumber(4, 51);
    device.clearTranscript();
    progress.position = 0;
    ASSERT_TRUE(sender.sendIcons(comm, model));
    EXPECT_EQ(progress.position, 138);
    EXPECT_EQ(writesIn(0x50, 0x0780, 128), 8) << "slot 4's large picture";
    EXPECT_EQ(writesIn(0x50, 0x3780, 72), 5) << "slot 4's small picture";
    EXPECT_EQ(static_cast<int>(writes().size()), 8 + 5 + 1) << "no other slot";
    EXPECT_EQ(area(Pointer::ICON_NUMBERS, 6), (Bytes { 7, 96, 0, 33, 51, 18 }));
    EXPECT_TRUE(MemoryMap::decodeIcon24(area(Pointer::ICON24_4, 72)).at(51 % 16 + 4, 51 / 16 + 4));
    comm.disconnect();
}

TEST_F(CPBSendTest, TextsArePaddedOrEndedWithinTheirAreas)
{
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    struct Case {
        const char* name;
        std::string text;
        int pad;
        Bytes expected;
    };
    const std::vector<Case> cases {
        { "shorter than the pad", "de", 5, { 'd', 'e', ' ', ' ', ' ' } },
        { "exactly the pad", "abcde", 5, { 'a', 'b', 'c', 'd', 'e' } },
        { "longer than the pad is cut", "abcdefg", 5, { 'a', 'b', 'c', 'd', 'e' } },
        { "empty, padded", "", 3, { ' ', ' ', ' ' } },
        { "no pad: a 0 byte after", "Acme", 0, { 'A', 'c', 'm', 'e', 0 } },
        { "empty, no pad: the 0 byte alone", "", 0, { 0 } },
    };
    std::uint16_t at = 0x6000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(CPBSend::writeText(CPBAdr(0x52, at), c.text, c.pad, comm));
        Bytes expected = c.expected;
        expected.push_back(0xFF);
        EXPECT_EQ(device.peek(0x52, at, expected.size()), expected) << "nothing beyond";
        at += 0x40;
    }

    ASSERT_TRUE(CPBSend::writeFloats({ 2.0f, -1.5f, 0.4f }, CPBAdr(0x52, 0x7000), comm));
    EXPECT_EQ(device.peek(0x52, 0x7000, 13),
              (Bytes { 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0xC0, 0xBF, 0xCD, 0xCC, 0xCC, 0x3E, 0xFF }));
    comm.disconnect();
}

TEST_F(CPBSendTest, UnitThatNeverAnswersGetsNothing)
{
    ASSERT_TRUE(loadLanguage(std::string("main lang:") + CATALOGUE_DIR + "/de.mo", "en"));
    device.setSilentAfterHandshake(true);
    EXPECT_FALSE(sender.transfer(serial, setup()));
    loadLanguage("main", "en");
    EXPECT_EQ(progress.position, 0);
    EXPECT_EQ(progress.texts.size(), 7u) << "every step's text still shows";
    EXPECT_EQ(progress.texts.front(), L"Symbole werden gesendet...");
    EXPECT_EQ(progress.texts.back(), L"Auswertung wird gesendet...");
    EXPECT_TRUE(device.transcript().empty());
    EXPECT_FALSE(serial.isOpen);
}

TEST_F(CPBSendTest, EmptySecondAlgorithmNameStopsAfterTheAlgorithms)
{
    PropertyModel model = setup();
    model.setAlgorithm2Name("");
    EXPECT_FALSE(sender.transfer(serial, model));
    EXPECT_TRUE(log.hasAssertion("!name.empty()"));
    EXPECT_EQ(progress.position, 138 + 1 + 34);
    EXPECT_EQ(MemoryMap::decodeAlgorithm(area(Pointer::ALGORITHM_1, 256)).compDepthHigh, 38.0f);
    EXPECT_EQ(area(Pointer::ALGORITHM_NAME_2, 41), [] {
        Bytes b(40, ' ');
        b.push_back(0xFF);
        return b;
    }());
    EXPECT_EQ(area(Pointer::ALGORITHM_2, 4), Bytes(4, 0xFF)) << "no values";
    EXPECT_EQ(area(Pointer::ALGORITHM_2, 2, 0x80), (Bytes { 0x00, 0xFF }));
    EXPECT_EQ(area(Pointer::COMPANY_NAME, 1), Bytes { 0xFF }) << "the steps after the failure do not run";
    EXPECT_EQ(progress.texts.size(), 7u);
}

TEST_F(CPBSendTest, UnitThatStopsAnsweringMidSendFailsTheTransfer)
{
    sim::ControllerFault silence;
    silence.kind = sim::ControllerFault::NoAnswer;
    silence.atBank = 0x51;
    silence.atOffset = 0x4500; // the second algorithm's plot data
    silence.times = -1;
    device.addFault(silence);
    EXPECT_FALSE(sender.transfer(serial, setup()));
    EXPECT_FALSE(serial.isOpen);
    EXPECT_EQ(progress.position, 138 + 1 + 34 + 11 + 1 + 17);
    EXPECT_EQ(area(Pointer::PLOT_DATA_1, 117), GraphGenerator(30, 38, 0.1f, 0.3f).getData()) << "kept";
    EXPECT_EQ(writesIn(0x51, 0x0800, 0x3000), 0) << "no screen after the failure";
    EXPECT_EQ(area(Pointer::BAR_DATA_1, 1), Bytes { 0xFF });
}

TEST_F(CPBSendTest, ScreenTooLargeForItsAreaIsNotSent)
{
    PropertyModel model = setup();
    model.enableLegends = true;
    for (int i = 0; i < 6; ++i)
        model.setLegend(i, std::string(250, 'x'));
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    device.clearTranscript();
    EXPECT_FALSE(sender.sendDebriefing(comm, model));
    comm.disconnect();
    EXPECT_TRUE(device.transcript().empty()) << "neither screens nor bars";
    EXPECT_EQ(progress.position, 6 * 88) << "each screen advances, sent or not";
    EXPECT_NE(log.text().find("does not fit"), std::string::npos);
    // Sending again cannot help: the user learns which screen and what to shorten.
    const BarGenerator bars(model, 1);
    const int language = LangStruct::indexOf(model.getLanguage(0));
    const auto excess = static_cast<int>(DebriefGenerator(model, language, &bars, "Pediatric").getData().size()
                                         - DebriefGenerator::SLOT_SIZE);
    EXPECT_EQ(sender.failureText(), L"The debriefing screen of Pediatric in " + LangStruct::nameAt(language) + L" is "
                                        + std::to_wstring(excess)
                                        + L" bytes too long for the CPR Controller: shorten the legend texts.");
}

TEST_F(CPBSendTest, LongTextsStayInsideTheirAreas)
{
    PropertyModel model = setup();
    model.printHeading = std::wstring(300, L'x');
    model.setAlgorithm1Name(std::string(150, 'P'));
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    ASSERT_TRUE(sender.sendAlgorithms(comm, model));
    ASSERT_TRUE(sender.sendCompanyName(comm, model.getPrintHeading()));
    comm.disconnect();
    Bytes name(127, 'P');
    name.push_back(0);
    EXPECT_EQ(area(Pointer::ALGORITHM_1, 128, 0x80), name) << "the block's last byte holds the 0";
    EXPECT_EQ(area(Pointer::ALGORITHM_NAME_1, 41), [] {
        Bytes b(40, 'P');
        b.push_back('N'); // the second name's area
        return b;
    }());
    Bytes company(255, 'x');
    company.push_back(0);
    EXPECT_EQ(area(Pointer::COMPANY_NAME, 256), company);
    EXPECT_EQ(MemoryMap::decodeAlgorithm(area(Pointer::ALGORITHM_1, 256)).initVent, 2.0f)
        << "the defaults of a name the table lacks, not overwritten by the company name";
}

} // namespace
