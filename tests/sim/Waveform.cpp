#include "sim/Waveform.h"

namespace sim {

RestWaveform::RestWaveform(int c, int v, int j)
    : compression(c)
    , ventilation(v)
    , jitter(j)
{
}

SampleValue RestWaveform::at(std::size_t index)
{
    int offset = (index % 3 == 0) ? jitter : (index % 3 == 1 ? 0 : -jitter);
    return { compression + offset, ventilation - offset, false, false };
}

RecordingWaveform::RecordingWaveform(std::vector<SampleValue> s)
    : samples(std::move(s))
{
}

SampleValue RecordingWaveform::at(std::size_t index)
{
    if (samples.empty())
        return {};
    return samples[index < samples.size() ? index : samples.size() - 1];
}

CallbackWaveform::CallbackWaveform(std::function<SampleValue(std::size_t)> f)
    : function(std::move(f))
{
}

std::uint8_t statusByte(bool flagA, bool flagB)
{
    if (flagA && flagB)
        return 140;
    if (flagA)
        return 12;
    if (flagB)
        return 204;
    return 76;
}

} // namespace sim
