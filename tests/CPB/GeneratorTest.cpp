#include "CPB/BarGenerator.h"
#include "CPB/GraphGenerator.h"
#include "support/TestSupport.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr std::uint8_t B = BarGenerator::BAR;
constexpr std::uint8_t R = BarGenerator::RANGE;

ByteVector row(char letter, std::initializer_list<std::pair<std::uint8_t, int>> runs, const char* label = "",
               std::initializer_list<std::pair<std::uint8_t, int>> after = {})
{
    ByteVector r { 3, static_cast<std::uint8_t>(letter) };
    for (auto [b, n] : runs)
        r.insert(r.end(), static_cast<std::size_t>(n), b);
    for (const char* c = label; *c; ++c)
        r.push_back(static_cast<std::uint8_t>(*c));
    for (auto [b, n] : after)
        r.insert(r.end(), static_cast<std::size_t>(n), b);
    return r;
}

// Expected marker columns: entry -> stored column.
using Columns = std::vector<std::pair<int, int>>;

void expectColumns(const BarGenerator& bars, int q, const Columns& expected)
{
    const ByteVector& table = bars.barData(q);
    ASSERT_EQ(table.size(), static_cast<std::size_t>(BarGenerator::entries[static_cast<std::size_t>(q)]));
    for (auto [entry, column] : expected)
        EXPECT_EQ(table[static_cast<std::size_t>(entry)], column) << "quantity " << q << ", entry " << entry;
}

Algorithm builtIn(bool aha)
{
    Algorithm a;
    a.Name = aha ? "AHA 2005 (American Heart Association)" : "ERC 2005 (European Resuscitation Council)";
    a.initVent = aha ? 2 : 0;
    a.vRateLow = 3;
    a.vRateHigh = 6;
    a.vVolLow = 0.5;
    a.vVolHigh = 0.6;
    return a;
}

TEST(BarGenerator, DefaultAlgorithmRowsAndTables)
{
    BarGenerator bars { PropertyModel(), Algorithm() };
    EXPECT_EQ(bars.row(5), [] {
        ByteVector r = row('Q', { { B, 6 } }, "40", { { R, 16 } });
        r.push_back('5');
        r.push_back('0');
        r.insert(r.end(), 6, B);
        return r;
    }());
    EXPECT_EQ(bars.row(0), row('D', { { B, 7 } }, "2", { { B, 24 } }));
    EXPECT_EQ(bars.row(3), row('L', { { ' ', 7 } }, "0", { { B, 24 } }));
    EXPECT_EQ(bars.row(6), row('T', { { ' ', 7 } }, "0", { { B, 24 } }));
    for (int q = 0; q < BarGenerator::QUANTITIES; ++q)
        EXPECT_EQ(bars.row(q).size(), BarGenerator::ROW_SIZE);

    Columns depth { { 0, 1 }, { 35, 1 }, { 36, 3 }, { 38, 6 }, { 39, 6 }, { 40, 9 }, { 41, 11 }, { 45, 17 },
                    { 49, 23 }, { 50, 24 }, { 51, 27 }, { 55, 32 }, { 127, 32 } };
    expectColumns(bars, 5, depth);
    expectColumns(bars, 1, { { 0, 1 }, { 4, 1 }, { 5, 4 }, { 6, 9 }, { 7, 14 }, { 8, 20 }, { 9, 24 }, { 10, 30 },
                             { 11, 32 }, { 127, 32 } });
    expectColumns(bars, 2, { { 40, 9 }, { 50, 17 }, { 59, 24 }, { 60, 24 }, { 61, 28 }, { 70, 32 }, { 255, 32 } });
    expectColumns(bars, 0, { { 0, 1 }, { 1, 5 }, { 2, 9 }, { 3, 13 }, { 8, 32 }, { 127, 32 } });
    for (int q : { 3, 6 }) {
        Columns stomach;
        for (int i = 0; i < 12; ++i)
            stomach.emplace_back(i, std::min(9 + 2 * i, 32));
        stomach.emplace_back(12, 32);
        stomach.emplace_back(127, 32);
        expectColumns(bars, q, stomach);
    }
    // ECC rate 90 to 110: start on column 8 (stored 9), end on column 23 (stored 24).
    expectColumns(bars, 4, { { 90, 9 }, { 110, 24 }, { 100, 17 }, { 255, 32 } });
    EXPECT_EQ(bars.row(4), [] {
        ByteVector r = row('N', { { B, 6 } }, "90", { { R, 16 } });
        for (char c : std::string("110"))
            r.push_back(static_cast<std::uint8_t>(c));
        r.insert(r.end(), 5, B);
        return r;
    }());
}

TEST(BarGenerator, BuiltInGuidelinesAndUnusualLimits)
{
    struct Case {
        const char* name;
        Algorithm algorithm;
        int q;
        ByteVector row;
        Columns columns;
        bool checkLogged;
    };
    Algorithm equal;
    equal.compDepthLow = 45;
    equal.compDepthHigh = 45;
    Algorithm wide;
    wide.eccRateLow = 123456789;
    wide.eccRateHigh = 1234567890;
    Algorithm negative;
    negative.initVent = -3;
    Algorithm tiny;
    tiny.vVolLow = 0.45;
    tiny.vVolHigh = 0.4500001;
    Algorithm noVentilations;
    noVentilations.initVent = 0;

    auto rangeRow = [](char letter, const char* s, const char* e) {
        ByteVector r { 3, static_cast<std::uint8_t>(letter) };
        r.insert(r.end(), 8 - std::strlen(s), B);
        r.insert(r.end(), s, s + std::strlen(s));
        r.insert(r.end(), 16, R);
        r.insert(r.end(), e, e + std::strlen(e));
        r.insert(r.end(), 8 - std::strlen(e), B);
        return r;
    };
    const std::vector<Case> cases {
        { "AHA ventilation rate 3 to 6", builtIn(true), 1, rangeRow('F', "3", "6"),
          { { 1, 1 }, { 2, 4 }, { 3, 9 }, { 4, 14 }, { 5, 20 }, { 6, 24 }, { 7, 30 }, { 8, 32 } }, false },
        { "AHA volume 0.5 to 0.6", builtIn(true), 2, rangeRow('I', "0.5", "0.6"),
          { { 45, 1 }, { 50, 9 }, { 55, 17 }, { 60, 24 }, { 61, 28 }, { 65, 32 } }, false },
        { "ERC no initial ventilations", builtIn(false), 0, row('D', { { B, 7 } }, "0", { { B, 24 } }),
          { { 0, 1 }, { 1, 3 }, { 2, 5 }, { 127, 32 } }, false },
        { "no initial ventilations", noVentilations, 0, row('D', { { B, 7 } }, "0", { { B, 24 } }),
          { { 0, 1 }, { 1, 3 }, { 127, 32 } }, false },
        { "equal depth limits", equal, 5, rangeRow('Q', "45", "45"), { { 0, 1 }, { 127, 32 } }, true },
        { "nearly equal volume limits", tiny, 2, rangeRow('I', "0.5", "0.5"), { { 0, 1 }, { 255, 32 } }, false },
        { "labels longer than their room", wide, 4, rangeRow('N', "12345678", "12345678"), { { 0, 1 }, { 255, 1 } },
          false },
        { "negative initial ventilations", negative, 0, row('D', { { B, 6 } }, "-3", { { B, 24 } }),
          { { 0, 1 }, { 127, 1 } }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::LogCapture log;
        BarGenerator bars(PropertyModel(), c.algorithm);
        EXPECT_EQ(bars.row(c.q), c.row);
        expectColumns(bars, c.q, c.columns);
        for (std::uint8_t column : bars.barData(c.q)) {
            EXPECT_GE(column, 1);
            EXPECT_LE(column, 32);
        }
        EXPECT_EQ(log.hasAssertion("start != end"), c.checkLogged);
    }
}

TEST(BarGenerator, EqualLimitsGiveAMonotonicTable)
{
    Algorithm equal;
    equal.compDepthLow = 45;
    equal.compDepthHigh = 45;
    testsupport::LogCapture log;
    BarGenerator bars(PropertyModel(), equal);
    const ByteVector& t = bars.barData(5);
    for (std::size_t i = 1; i < t.size(); ++i)
        EXPECT_GE(t[i], t[i - 1]) << "entry " << i;
    EXPECT_EQ(t[45], 9) << "the limit sits at the range's start";
}

// --- plot data ------------------------------------------------------------------------

int positionAt(const ByteVector& d, int offset) { return d[static_cast<std::size_t>(offset)] | d[static_cast<std::size_t>(offset) + 1] << 8; }

struct PlotCase {
    const char* name;
    float depthLow, depthHigh, volumeLow, volumeHigh;
    int posDepthLow, posDepthHigh, posVolumeLow, posVolumeHigh;
    std::array<int, 8> digits; // depth high tens, units; depth low; volume high whole, tenths; volume low
};

TEST(GraphGenerator, LimitsGoIntoTheTemplate)
{
    const std::vector<PlotCase> cases {
        { "defaults", 40, 50, 0.4f, 0.6f, 44, 16, 246, 275, { 5, 0, 4, 0, 0, 6, 0, 4 } },
        { "built-in guidelines", 40, 50, 0.5f, 0.6f, 44, 16, 261, 275, { 5, 0, 4, 0, 0, 6, 0, 5 } },
        { "negative values", -5, -1, -0.2f, -3, 157, 157, 190, 190, { 0, 0, 0, 0, 0, 0, 0, 0 } },
        { "above the maximum", 100, 250, 10, 12, 0, 0, 1600, 1600, { 10, 0, 10, 0, 10, 0, 10, 0 } },
        { "carries are not carried", 49.6f, 49.6f, 0.96f, 0.96f, 17, 17, 325, 325, { 4, 10, 4, 10, 0, 10, 0, 10 } },
        { "deep limits stay at the top", 56, 60, 0.4f, 0.6f, 0, 0, 246, 275, { 6, 0, 5, 6, 0, 6, 0, 4 } },
    };
    for (const PlotCase& c : cases) {
        SCOPED_TRACE(c.name);
        ByteVector d = GraphGenerator(c.depthLow, c.depthHigh, c.volumeLow, c.volumeHigh).getData();
        ASSERT_EQ(d.size(), GraphGenerator::SIZE);
        for (int o : { 0, 36, 66, 87 })
            EXPECT_EQ(positionAt(d, o), c.posDepthHigh) << o;
        for (int o : { 3, 39, 69, 90 })
            EXPECT_EQ(positionAt(d, o), c.posDepthLow) << o;
        for (int o : { 27, 30, 60, 81, 108 })
            EXPECT_EQ(positionAt(d, o), c.posVolumeHigh) << o;
        for (int o : { 21, 24, 57, 78, 105 })
            EXPECT_EQ(positionAt(d, o), c.posVolumeLow) << o;
        const int offsets[8] = { 2, 38, 5, 41, 29, 62, 23, 59 };
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(d[static_cast<std::size_t>(offsets[k])], c.digits[static_cast<std::size_t>(k)]) << offsets[k];
    }
}

TEST(GraphGenerator, DefaultsByteForByte)
{
    // Worked out from the template with depth 40..50 mm and volume 0.4..0.6 L.
    const ByteVector expected {
        16, 0, 5,    44, 0, 4,    157, 0, 12,  166, 0, 17, 166, 0, 10, 176, 0, 10, 190, 0, 12, 246, 0, 0,
        246, 0, 10,  19, 1, 0,    19, 1, 10,   105, 1, 15, 16, 0, 0,   44, 0, 0,   157, 0, 12, 157, 0, 13,
        166, 0, 18,  176, 0, 13,  190, 0, 12,  246, 0, 4,  19, 1, 6,   105, 1, 15, 16, 0, 11,  44, 0, 11,
        157, 0, 12,  190, 0, 12,  246, 0, 11,  19, 1, 11,  105, 1, 15, 16, 0, 11,  44, 0, 11,  157, 0, 12,
        157, 0, 13,  176, 0, 13,  190, 0, 12,  246, 0, 11, 19, 1, 11,  105, 1, 15, 105, 1, 33,
    };
    EXPECT_EQ(GraphGenerator(40, 50, 0.4f, 0.6f).getData(), expected);
}

} // namespace
