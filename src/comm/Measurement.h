#pragma once

// One processed sample of a session.
struct Measurement {
    double depth = 0;             // compression depth, mm
    double volume = 0;            // ventilation volume, litres
    bool flagA = false;           // stomach inflation
    bool flagB = false;           // wrong hand position
    bool ventilationMark = false; // peak of a ventilation with stomach inflation
    bool compressionMark = false; // peak of a compression with wrong hand position
};

// The device status bytes that carry each flag.
inline bool statusHasFlagA(int status) { return status == 12 || status == 28 || status == 140 || status == 156; }
inline bool statusHasFlagB(int status) { return status == 140 || status == 156 || status == 204 || status == 220; }
