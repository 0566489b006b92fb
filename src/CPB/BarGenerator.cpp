#include "CPB/BarGenerator.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Utillib/LogStream.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Labels have room for 8 characters; longer ones are cut, so a row stays 34 bytes.
constexpr std::size_t labelRoom = 8;

// Truncation toward zero that stays defined for any double: columns are
// clamped to 0..31 afterwards, so far-away values only need to stay far away.
int truncated(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -1.0e6, 1.0e6));
}

// A whole-number limit of the algorithm.
int wholeLimit(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -2.0e9, 2.0e9));
}

std::string label(int value) { return std::to_string(value).substr(0, labelRoom); }

std::string decimalLabel(double value)
{
    char text[400];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    if (error != std::errc())
        return "?";
    return std::string(text, end).substr(0, labelRoom);
}

std::uint8_t storedColumn(int column) { return static_cast<std::uint8_t>(std::clamp(column, 0, 31) + 1); }

} // namespace

BarGenerator::BarGenerator(const PropertyModel& m, int algorithmNumber)
    : model(m)
{
    AlgorithmTable table(database);
    table.open(std::string());
    algorithm = table.findByName(algorithmNumber == 1 ? model.getAlgorithm1Name() : model.getAlgorithm2Name());
    build();
}

BarGenerator::BarGenerator(const PropertyModel& m, const Algorithm& a)
    : model(m)
    , algorithm(a)
{
    build();
}

void BarGenerator::build()
{
    rows.assign(QUANTITIES, {});
    tables.assign(QUANTITIES, {});
    const Algorithm& a = algorithm;
    buildSingleBar(1, a.initVent, 0);
    buildRangeBar(wholeLimit(a.vRateLow), wholeLimit(a.vRateHigh), 1);
    buildDecimalRangeBar(a.vVolLow, a.vVolHigh, 2);
    buildSingleBar(0, 0, 3);
    buildRangeBar(wholeLimit(a.eccRateLow), wholeLimit(a.eccRateHigh), 4);
    buildRangeBar(wholeLimit(a.compDepthLow), wholeLimit(a.compDepthHigh), 5);
    buildSingleBar(0, 0, 6);
}

const ByteVector& BarGenerator::row(int q) const
{
    LOG_ASSERT(q >= 0 && q < QUANTITIES);
    return rows[static_cast<std::size_t>(std::clamp(q, 0, QUANTITIES - 1))];
}

const ByteVector& BarGenerator::barData(int q) const
{
    LOG_ASSERT(q >= 0 && q < QUANTITIES);
    return tables[static_cast<std::size_t>(std::clamp(q, 0, QUANTITIES - 1))];
}

void BarGenerator::buildSingleBar(int start, int end, int q)
{
    std::string text = label(end);
    int length = static_cast<int>(text.size());
    ByteVector& r = rows[static_cast<std::size_t>(q)];
    r = { 3, static_cast<std::uint8_t>(letters[static_cast<std::size_t>(q)]) };
    r.insert(r.end(), labelRoom - text.size(), start != 0 ? BAR : ' ');
    r.insert(r.end(), text.begin(), text.end());
    r.insert(r.end(), 24, BAR);

    double w = width[static_cast<std::size_t>(q)];
    double scale = end != 0 ? 8.0 / end / w : 2.0 / w;
    ByteVector& t = tables[static_cast<std::size_t>(q)];
    for (int i = 0; i < entries[static_cast<std::size_t>(q)]; ++i) {
        int column = truncated(i * scale + 0.5);
        if (start == 0)
            column = truncated(8 - end * scale + column);
        if (column >= 8 - length && column <= 7)
            column = 7 - length;
        t.push_back(storedColumn(column));
    }
}

void BarGenerator::buildRangeBar(int start, int end, int q)
{
    buildRange(start, end, label(start), label(end), q);
}

void BarGenerator::buildDecimalRangeBar(double start, double end, int q)
{
    buildRange(start, end, decimalLabel(start), decimalLabel(end), q);
}

void BarGenerator::buildRange(double start, double end, const std::string& startLabel, const std::string& endLabel, int q)
{
    int lS = static_cast<int>(startLabel.size());
    int lE = static_cast<int>(endLabel.size());
    ByteVector& r = rows[static_cast<std::size_t>(q)];
    r = { 3, static_cast<std::uint8_t>(letters[static_cast<std::size_t>(q)]) };
    r.insert(r.end(), labelRoom - startLabel.size(), BAR);
    r.insert(r.end(), startLabel.begin(), startLabel.end());
    r.insert(r.end(), 16, RANGE);
    r.insert(r.end(), endLabel.begin(), endLabel.end());
    r.insert(r.end(), labelRoom - endLabel.size(), BAR);

    double w = width[static_cast<std::size_t>(q)];
    LOG_ASSERT(start != end);
    // Equal limits make a range of one unit, so the table stays defined.
    double span = start != end ? end - start : 1.0 / w;
    double g = 16.0 / span / w;
    double h = w * start - 8.0 / g;
    ByteVector& t = tables[static_cast<std::size_t>(q)];
    for (int i = 0; i < entries[static_cast<std::size_t>(q)]; ++i) {
        int column = truncated((i - h) * g + 0.5);
        if (column >= 8 - lS && column <= 7) {
            if (i > w * start + 0.5) {
                t.push_back(storedColumn(8));
                continue;
            }
            column = 7 - lS;
        }
        if (column >= 24 && column <= 23 + lE) {
            if (i > w * end + 0.5) {
                column = 24 + lE;
            } else {
                t.push_back(storedColumn(23));
                continue;
            }
        }
        t.push_back(storedColumn(column));
    }
}
