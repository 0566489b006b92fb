#pragma once
#include "comm/ListClasses.h"

#include <vector>

class CommSession;
struct Measurement;

// Finds the single ventilations in the volume values, sample by sample,
// groups them into series and counts stomach inflations.
class VentilationDetector {
public:
    explicit VentilationDetector(CommSession* owner);

    // Feeds the measurement that is going to have this index.
    void step(const Measurement& measurement, int index);
    // Forgets every record and series and goes idle.
    void reset();
    // Litres per minute over the whole recording; 0 without ventilations.
    double getMinuteVolume() const;

    std::vector<VentilationSeries> series;
    int count = 0;
    double averageVolume = 0; // L
    double sumVolume = 0;     // L

private:
    void closeRecord(const VentilationRecord& record);

public:
    CommSession* owner;
    double direction = 0; // 0 idle, positive rising, -1 falling
    int startIndex = 0;
    int peakIndex = 0;
    double maxVolume = 0;
    double minVolume = 0;
    bool inflationAtPeak = false;
    // A stomach inflation counts again only after a sample without the flag.
    bool inflationArmed = true;
};
