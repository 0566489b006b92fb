#pragma once
// The result bars of the CPR Controller's debriefing screens for one of its
// algorithms: seven printable bar rows with the algorithm's limits written
// into them, and seven tables that give the marker's column for a value.
#include "CPB/CPBComm.h"
#include "Database/Algorithm.h"
#include "config/PropertyModel.h"

#include <array>
#include <string>
#include <vector>

class BarGenerator {
public:
    static constexpr int QUANTITIES = 7;
    static constexpr int COLUMNS = 32;
    static constexpr std::size_t ROW_SIZE = 34;
    static constexpr std::uint8_t BAR = 176;
    static constexpr std::uint8_t RANGE = 177;
    // Entries of each table and the values one entry stands for (1 / width).
    static constexpr std::array<int, QUANTITIES> entries { 128, 128, 256, 128, 256, 128, 128 };
    static constexpr std::array<int, QUANTITIES> width { 1, 1, 100, 1, 1, 1, 1 };
    static constexpr std::array<char, QUANTITIES> letters { 'D', 'F', 'I', 'L', 'N', 'Q', 'T' };

    // The configuration's first or second CPR Controller algorithm, looked up
    // by name in the program's Algorithm table (the defaults when the name is
    // unknown or the database is not open).
    BarGenerator(const PropertyModel& model, int algorithmNumber);
    // For a given algorithm.
    BarGenerator(const PropertyModel& model, const Algorithm& algorithm);

    // Bar row q (0 to 6): the field code, then 32 columns.
    const ByteVector& row(int q) const;
    // Table q (0 to 6): the marker's column, 1 to 32, of each entry.
    const ByteVector& barData(int q) const;
    const Algorithm& getAlgorithm() const { return algorithm; }

private:
    void build();
    void buildSingleBar(int start, int end, int q);
    void buildRangeBar(int start, int end, int q);
    void buildDecimalRangeBar(double start, double end, int q);
    // The range bar's row and table from its limits and their labels.
    void buildRange(double start, double end, const std::string& startLabel, const std::string& endLabel, int q);

    PropertyModel model;
    Algorithm algorithm;
    std::vector<ByteVector> rows;
    std::vector<ByteVector> tables;
};
