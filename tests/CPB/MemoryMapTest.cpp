#include "CPB/MemoryMap.h"
#include "CPB/Pointer.h"
#include "Database/Algorithm.h"
#include "config/PropertyModel.h"
#include "platform/CodePage.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <cstring>
#include <random>

namespace {

using namespace MemoryMap;

TEST(Pointer, AreasSitWhereTheUnitExpectsThemAndNeverOverlap)
{
    struct Expected {
        int name;
        std::uint8_t bank;
        std::uint16_t offset;
    };
    for (const Expected& e : std::vector<Expected> {
             { Pointer::ICON_NUMBERS, 0x51, 0x7FF0 }, { Pointer::ICON32_3, 0x50, 0x0600 },
             { Pointer::ICON32_5, 0x50, 0x0800 },     { Pointer::ICON24_0, 0x50, 0x3580 },
             { Pointer::ICON24_5, 0x50, 0x3800 },     { Pointer::LANGUAGE_NUMBERS, 0x51, 0x7FE0 },
             { Pointer::LANGUAGE_TEXT_2, 0x51, 0x0064 }, { Pointer::DEBRIEF_ALG2_LANG0, 0x51, 0x1000 },
             { Pointer::DEBRIEF_ALG1_LANG1, 0x51, 0x1800 }, { Pointer::DEBRIEF_ALG2_LANG2, 0x51, 0x3000 },
             { Pointer::BAR_DATA_2, 0x51, 0x4000 },   { Pointer::ALGORITHM_1, 0x51, 0x7D00 },
             { Pointer::ALGORITHM_NAME_2, 0x51, 0x0028 }, { Pointer::PLOT_DATA_1, 0x51, 0x4480 },
             { Pointer::COMPANY_NAME, 0x51, 0x7C00 }, { Pointer::CONFIG_FLAGS, 0x51, 0x7FB0 } }) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(Pointer::get(e.name), CPBAdr(e.bank, e.offset));
    }

    struct Area {
        int bank, start, end, name;
    };
    std::vector<Area> areas;
    for (int n = 0; n < Pointer::SIZE_OF; ++n) {
        CPBAdr a = Pointer::get(n);
        areas.push_back({ a.bank, a.getAdr(), a.getAdr() + Pointer::room(n), n });
        EXPECT_LE(areas.back().end, 0x8000) << "name " << n;
    }
    std::sort(areas.begin(), areas.end(), [](const Area& a, const Area& b) {
        return std::tie(a.bank, a.start) < std::tie(b.bank, b.start);
    });
    for (std::size_t i = 1; i < areas.size(); ++i)
        if (areas[i].bank == areas[i - 1].bank) {
            EXPECT_LE(areas[i - 1].end, areas[i].start) << "area " << areas[i - 1].name << " runs into " << areas[i].name;
        }

    testsupport::LogCapture log;
    EXPECT_EQ(Pointer::get(Pointer::SIZE_OF), Pointer::get(0));
    EXPECT_TRUE(log.hasAssertion("known(name)"));
}

TEST(MemoryMap, IconBitmapsPutEachPixelAtItsBit)
{
    MonoBitmap big(32, 32);
    big.set(9, 2, true);
    ByteVector b32 = encodeIcon32(big);
    EXPECT_EQ(b32[34], 0x40);
    EXPECT_EQ(std::count(b32.begin(), b32.end(), 0), 127);

    MonoBitmap small(24, 24);
    small.set(9, 2, true);
    small.set(0, 23, true); // bottom left: the first byte
    ByteVector b24 = encodeIcon24(small);
    EXPECT_EQ(b24[64], 0x40);
    EXPECT_EQ(b24[0], 0x80);
    EXPECT_EQ(std::count(b24.begin(), b24.end(), 0), 70);

    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round) {
        MonoBitmap a(32, 32), c(24, 24);
        for (int i = 0; i < 32 * 32; ++i)
            a.dots[static_cast<std::size_t>(i)] = random() & 1;
        for (int i = 0; i < 24 * 24; ++i)
            c.dots[static_cast<std::size_t>(i)] = random() & 1;
        EXPECT_EQ(decodeIcon32(encodeIcon32(a)), a);
        EXPECT_EQ(decodeIcon24(encodeIcon24(c)), c);
    }
}

TEST(MemoryMap, IconAndLanguageNumbers)
{
    EXPECT_EQ(encodeIconNumbers({ 0, 5, 96, 97, -1, 40 }), (ByteVector { 0, 5, 96, 0xFF, 0xFF, 40 }));
    EXPECT_EQ(decodeIconNumbers({ 0, 96, 97, 0xFF, 12, 3 }), (std::vector<int> { 0, 96, NO_ICON, NO_ICON, 12, 3 }));

    EXPECT_EQ(encodeLanguageNumbers({ "en", "de", "fr" }), (ByteVector { 0, 1, 2 }));
    EXPECT_EQ(encodeLanguageNumbers({ "ko", "ja", "" }), (ByteVector { 11, 255, 255 }));
    EXPECT_EQ(decodeLanguageNumbers({ 11, 3, 255 }), (std::vector<std::string> { "ko", "es", "" }));
    EXPECT_EQ(decodeLanguageNumbers({ 12, 0, 0 }), (std::vector<std::string> { "", "en", "en" }));
    EXPECT_TRUE(decodeLanguageNumbers({ 255, 0, 1 }).empty()) << "no languages set";
}

TEST(MemoryMap, TextsAreCutToTheirAreas)
{
    auto bytes = [](const char* s) { return ByteVector(s, s + std::strlen(s)); };
    EXPECT_EQ(blankPadded("AHA 2005", 40), bytes("AHA 2005                                "));
    std::string longName(60, 'x');
    EXPECT_EQ(blankPadded(longName, ALGORITHM_NAME_SIZE), ByteVector(40, 'x'));
    EXPECT_EQ(blankPadded("Portugu\xEAs-Brasil", LANGUAGE_TEXT_SIZE), bytes("Portugu\xEAs-"));

    // Double-byte text is never halved: 3 characters of 2 bytes into 5 bytes keep 2.
    const std::string japanese = "\x93\xfa\x96\x7b\x8c\xea";
    EXPECT_EQ(cutText(japanese, 5, 932), japanese.substr(0, 4));
    EXPECT_EQ(blankPadded("a" + japanese, 4, 932), (ByteVector { 'a', 0x93, 0xfa, ' ' }));

    ByteVector company = encodeCompanyName(std::wstring(300, L'C'));
    EXPECT_EQ(company.size(), COMPANY_NAME_ROOM) << "a long heading cannot reach the algorithm after it";
    EXPECT_EQ(company.back(), 0);
    const ByteVector expected { 'T', 'a', 'v', 'o', 13, 10, 'M', 0xFC, 'n', 'c', 'h', 'e', 'n', 0 };
    EXPECT_EQ(encodeCompanyName(L"Tavo\r\nM\u00fcnchen"), expected);

    EXPECT_EQ(decodeText(bytes("Acme\0junk")), "Acme");
    EXPECT_EQ(decodeText({ 'A', 'b', 0xFF, 'c' }), "Ab");
    EXPECT_EQ(decodeText(ByteVector(300, 'z')), std::string(300, 'z')) << "bounded by the bytes read";
}

TEST(MemoryMap, AlgorithmBlockHoldsLittleEndianFloatsAndTheName)
{
    Algorithm a;
    a.Name = "AHA 2005";
    std::vector<BlockWrite> writes = encodeAlgorithm(a);
    ASSERT_EQ(writes.size(), 4u);
    // Worked out by hand: 2.0f = 0x40000000, 6.0f = 0x40C00000, 9.0f = 0x41100000,
    // 0.4f = 0x3ECCCCCD, 0.6f = 0x3F19999A, 90.0f = 0x42B40000, 110.0f = 0x42DC0000,
    // 40.0f = 0x42200000, 50.0f = 0x42480000.
    EXPECT_EQ(writes[0], (BlockWrite { 0, { 0, 0, 0, 0x40, 0, 0, 0xC0, 0x40, 0, 0, 0x10, 0x41, 0xCD, 0xCC, 0xCC, 0x3E,
                                            0x9A, 0x99, 0x19, 0x3F } }));
    EXPECT_EQ(writes[1], (BlockWrite { 40, { 0, 0, 0xB4, 0x42, 0, 0, 0xDC, 0x42 } }));
    EXPECT_EQ(writes[2], (BlockWrite { 64, { 0, 0, 0x20, 0x42, 0, 0, 0x48, 0x42 } }));
    EXPECT_EQ(writes[3], (BlockWrite { 0x80, { 'A', 'H', 'A', ' ', '2', '0', '0', '5', 0 } }));

    a.Name = std::string(200, 'n');
    a.initVent = 5;
    a.vVolHigh = 1.25;
    a.compDepthHigh = 61;
    ByteVector block(256, 0xFF);
    for (const BlockWrite& w : encodeAlgorithm(a)) {
        ASSERT_LE(w.offset + w.bytes.size(), block.size()) << "a write never leaves the block";
        std::copy(w.bytes.begin(), w.bytes.end(), block.begin() + w.offset);
    }
    EXPECT_EQ(block[255], 0) << "a long name is cut and keeps its end";
    EXPECT_EQ(block[20], 0xFF) << "bytes the program does not own stay";
    DeviceAlgorithm d = decodeAlgorithm(block);
    EXPECT_EQ(d.name, std::string(127, 'n'));
    EXPECT_EQ(d.initVent, 5.0f);
    EXPECT_EQ(d.vRateLow, 6.0f);
    EXPECT_EQ(d.vVolHigh, 1.25f);
    EXPECT_EQ(d.eccRateHigh, 110.0f);
    EXPECT_EQ(d.compDepthHigh, 61.0f);
    EXPECT_EQ(decodeAlgorithm(ByteVector(256, 0xFF)).name, "") << "an erased block has no name";
}

TEST(MemoryMap, ConfigurationFlags)
{
    PropertyModel on, off;
    for (PropertyModel* m : { &on, &off }) {
        bool value = m == &on;
        for (bool* b : { &m->showInitialVentilations, &m->showVentilationRate, &m->showAverageVolume,
                         &m->showMinuteVolume, &m->showStomachInflations, &m->showCompressionRate,
                         &m->showCompRelaxRatio, &m->showCompressionDepth, &m->showPause, &m->showCardiacOutput,
                         &m->showWrongHandPositions, &m->showLeanings, &m->showVentCompRatio, &m->registerEvents,
                         &m->debriefingAsCounts, &m->compRelaxAsPercent, &m->endSound, &m->printDebriefingText,
                         &m->printApprovalFields })
            *b = value;
    }
    EXPECT_EQ(encodeConfigFlags(on), (ByteVector { 0xFF, 0xFF, 0xE0 }));
    EXPECT_EQ(encodeConfigFlags(off), (ByteVector { 0, 0, 0 }));

    PropertyModel one = off;
    one.showCompRelaxRatio = true;
    one.printDebriefingText = true;
    one.registerEvents = true;
    EXPECT_EQ(encodeConfigFlags(one), (ByteVector { 0x02, 0x04, 0x40 }));

    // Eight settings are read back; the others keep what they were.
    PropertyModel back = off;
    decodeConfigFlags({ 0xFF, 0xFF, 0xE0 }, back);
    EXPECT_EQ(encodeConfigFlags(back), (ByteVector { 0xED, 0x20, 0x20 }));
    back = on;
    decodeConfigFlags({ 0, 0, 0 }, back);
    EXPECT_EQ(encodeConfigFlags(back), (ByteVector { 0x12, 0xDF, 0xC0 }));
}

} // namespace
