#pragma once
#include "comm/ListClasses.h"

#include <vector>

class CommSession;
struct Measurement;

// The peaks of the newest compressions, oldest first, at most four.
class RecentPeaks {
public:
    static constexpr int capacity = 4;
    int size() const { return count; }
    bool empty() const { return count == 0; }
    int front() const { return peaks[0]; }
    int back() const { return peaks[count - 1]; }
    void clear() { count = 0; }
    // Appends; the oldest one goes when all four places are taken.
    void push_back(int peak)
    {
        if (count == capacity) {
            for (int i = 1; i < capacity; ++i)
                peaks[i - 1] = peaks[i];
            --count;
        }
        peaks[count++] = peak;
    }

private:
    int peaks[capacity] {};
    int count = 0;
};

// Finds the single compressions in the depth values, sample by sample, and
// groups them into series; keeps the live compression rate.
class CompressionDetector {
public:
    explicit CompressionDetector(CommSession* owner);

    // Feeds the measurement that is going to have this index.
    void step(const Measurement& measurement, int index);
    // Forgets every cycle and series (and the owner's groups) and goes idle.
    void reset();

    std::vector<CompressionSeries> series;
    double rate = -1.0; // compressions per minute, -1 when there is none

private:
    void closeCycle(const CompressionCycle& cycle, int peak);

public:
    CommSession* owner;
    double direction = 0; // 0 idle, +1 compressing, -1 releasing
    int cycleStart = 0;
    int peakIndex = 0;
    int peakEndIndex = 0;
    double maxDepth = 0;
    double minDepth = 0;
    double sampleRate = 20.0;
    bool wrongHandAtPeak = false;
    RecentPeaks recentPeaks;
};
