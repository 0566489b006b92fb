#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace sim {

// What a simulated manikin measures at each sample: raw compression and
// ventilation values (0..255) and the flags of the device status.
struct SampleValue {
    int compression = 10;
    int ventilation = 10;
    bool flagA = false; // stomach inflation
    bool flagB = false; // wrong hand position
};

class Waveform {
public:
    virtual ~Waveform() = default;
    virtual SampleValue at(std::size_t index) = 0;
};

// A manikin at rest, with an optional jitter that alternates +jitter, 0, -jitter.
class RestWaveform : public Waveform {
public:
    explicit RestWaveform(int compression = 10, int ventilation = 10, int jitter = 0);
    SampleValue at(std::size_t index) override;

private:
    int compression, ventilation, jitter;
};

// A recording played once, then its last value held.
class RecordingWaveform : public Waveform {
public:
    explicit RecordingWaveform(std::vector<SampleValue> samples);
    SampleValue at(std::size_t index) override;

private:
    std::vector<SampleValue> samples;
};

class CallbackWaveform : public Waveform {
public:
    explicit CallbackWaveform(std::function<SampleValue(std::size_t)> f);
    SampleValue at(std::size_t index) override { return function(index); }

private:
    std::function<SampleValue(std::size_t)> function;
};

// The status byte a manikin interface of kind 1 sends for the flags.
std::uint8_t statusByte(bool flagA, bool flagB);

} // namespace sim
