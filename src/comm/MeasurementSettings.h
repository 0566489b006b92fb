#pragma once
// The user settings that the measurement reads: the correct depth range and
// cardiac output per compression (compression detection), the longest
// acceptable pause and the recommended cardiac output (statistics). Field
// names and defaults are those of the configuration; the application copies
// them in whenever its configuration is loaded or committed, so that the
// measurement needs nothing above it.
struct MeasurementSettings {
    bool overrideDepth = false;
    double depthLow = 30.0;  // mm
    double depthHigh = 52.0; // mm
    double cardiacOutputPerCompression = 0.03; // L
    double cardiacOutputPerWrongHand = 0.01;   // L
    double cardiacOutputLow = 1.4;  // L/min
    double cardiacOutputHigh = 6.0; // L/min
    int maxPause = 9; // s

    // The settings in force for every session of this process.
    static const MeasurementSettings& current();
    static void set(const MeasurementSettings& settings);
};
