#include "platform/Sound.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>

namespace platform {

namespace {

// ALSA writes its complaints to stderr; the caller reports what matters.
void quietErrors(const char*, int, const char*, int, const char*, ...) {}

// The stream on an ALSA device opened without blocking.
class AlsaStream : public PcmStream {
public:
    explicit AlsaStream(snd_pcm_t* pcm) : pcm(pcm) {}
    ~AlsaStream() override { snd_pcm_close(pcm); }
    AlsaStream(const AlsaStream&) = delete;
    AlsaStream& operator=(const AlsaStream&) = delete;

    State state() override
    {
        switch (snd_pcm_state(pcm)) {
        case SND_PCM_STATE_PREPARED:
            return State::Prepared;
        case SND_PCM_STATE_RUNNING:
            return State::Running;
        case SND_PCM_STATE_SUSPENDED:
            return State::Suspended;
        default:
            return State::Other;
        }
    }
    long write(const std::int16_t* frames, std::size_t count) override { return snd_pcm_writei(pcm, frames, count); }
    int prepare() override { return snd_pcm_prepare(pcm); }
    int start() override { return snd_pcm_start(pcm); }
    int drop() override { return snd_pcm_drop(pcm); }
    int resume() override { return snd_pcm_resume(pcm); }
    long delay() override
    {
        snd_pcm_sframes_t frames = 0;
        const int rc = snd_pcm_delay(pcm, &frames);
        return rc < 0 ? rc : frames;
    }

private:
    snd_pcm_t* pcm;
};

} // namespace

SoundPlayer::SoundPlayer()
{
    snd_lib_error_set_handler(quietErrors);
    const char* name = std::getenv("TAVO_SOUND_DEVICE");
    const std::string device = name && *name ? name : "default";
    snd_pcm_t* opened = nullptr;
    int rc = snd_pcm_open(&opened, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (rc < 0) {
        error = "cannot open sound device '" + device + "': " + snd_strerror(rc);
        return;
    }
    // A second of buffer holds the whole end sound where the device allows
    // it; a device with less takes the rest as it drains (topUp). The sounds
    // are started by hand, so a click does not wait for the buffer to fill.
    rc = snd_pcm_set_params(opened, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, sampleRate, 1, 1000000);
    if (rc < 0) {
        error = "sound device '" + device + "' refuses 16-bit mono: " + snd_strerror(rc);
        snd_pcm_close(opened);
        return;
    }
    pcm = std::make_unique<AlsaStream>(opened);
}

SoundPlayer::SoundPlayer(std::unique_ptr<PcmStream> stream) : pcm(std::move(stream))
{
    if (!pcm)
        error = "no sound device";
}

SoundPlayer::~SoundPlayer() = default;

const std::vector<std::int16_t>& SoundPlayer::clickSamples()
{
    static const std::vector<std::int16_t> samples = [] {
        const int count = static_cast<int>(sampleRate / 50);
        std::vector<std::int16_t> s(count);
        for (int i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / sampleRate;
            const double envelope = std::exp(-t * 250.0);
            s[i] = static_cast<std::int16_t>(20000.0 * envelope * std::sin(2.0 * M_PI * 1000.0 * t));
        }
        return s;
    }();
    return samples;
}

const std::vector<std::int16_t>& SoundPlayer::endSamples()
{
    static const std::vector<std::int16_t> samples = [] {
        // E6, C6, G5: a falling close, each tone with a 5 ms rise, a gentle
        // decay and a 10 ms fade (no crack at its end), 40 ms of silence
        // after each.
        const double tones[] = { 1318.51, 1046.50, 783.99 };
        const int toneLength = static_cast<int>(sampleRate * 0.15);
        const int gap = static_cast<int>(sampleRate * 0.04);
        const int rise = static_cast<int>(sampleRate * 0.005);
        std::vector<std::int16_t> s;
        for (double frequency : tones) {
            for (int i = 0; i < toneLength; ++i) {
                const double t = static_cast<double>(i) / sampleRate;
                const double attack = i < rise ? static_cast<double>(i) / rise : 1.0;
                const double fade = std::min(1.0, static_cast<double>(toneLength - i) / (2 * rise));
                const double envelope = attack * fade * std::exp(-t * 12.0);
                s.push_back(static_cast<std::int16_t>(16000.0 * envelope * std::sin(2.0 * M_PI * frequency * t)));
            }
            s.insert(s.end(), gap, 0);
        }
        return s;
    }();
    return samples;
}

bool SoundPlayer::playClick()
{
    if (!usable())
        return false;
    if (pending)
        return true; // a sound is still being written, or waits for the device to resume
    if (pcm->state() == PcmStream::State::Running && pcm->delay() > 0)
        return true; // still playing the last sound
    return play(clickSamples());
}

bool SoundPlayer::playEndSound()
{
    if (!usable())
        return false;
    if (pcm->state() == PcmStream::State::Running)
        pcm->drop(); // the end of the session comes before a click
    // A device still suspended under a click is prepared afresh by play.
    pending = nullptr;
    suspended = false;
    return play(endSamples());
}

SoundPlayer::TopUp SoundPlayer::topUp()
{
    if (!usable() || !pending)
        return TopUp::Fine;
    if (suspended) {
        const TopUp outcome = tryResume();
        if (outcome != TopUp::Fine || suspended)
            return outcome;
    }
    return feed() ? TopUp::Fine : TopUp::Refused;
}

SoundPlayer::TopUp SoundPlayer::tryResume()
{
    const int rc = pcm->resume();
    if (rc == -EAGAIN) {
        if (++suspendedTicks < resumeTicks)
            return TopUp::Fine; // not back yet: the next tick asks again
        // Waiting longer would leave the user without metronome and without
        // knowing it: sound is given up, the caller beeps from now on.
        suspended = false;
        pending = nullptr;
        gaveUp = true;
        pcm->drop();
        return TopUp::GivenUp;
    }
    suspended = false;
    // A device that cannot pick up where it stopped starts afresh; the part
    // of the sound it held is lost, the rest still plays.
    if (rc < 0 && pcm->prepare() < 0) {
        pending = nullptr;
        return TopUp::Refused;
    }
    return TopUp::Fine;
}

bool SoundPlayer::play(const std::vector<std::int16_t>& samples)
{
    if (pcm->state() != PcmStream::State::Prepared && pcm->prepare() < 0)
        return false;
    pending = &samples;
    sent = 0;
    return feed();
}

bool SoundPlayer::feed()
{
    const std::vector<std::int16_t>& samples = *pending;
    while (sent < samples.size()) {
        const long written = pcm->write(samples.data() + sent, samples.size() - sent);
        if (written == -EAGAIN)
            break; // the buffer is full: the next tick goes on
        if (written == -ESTRPIPE) {
            // The machine slept under the sound. Resuming may take the
            // device a while: it is asked on the following ticks, never
            // waited for here.
            suspended = true;
            suspendedTicks = 0;
            return true;
        }
        if (written == -EPIPE) {
            // The buffer ran dry before this top-up: start again where it stopped.
            if (pcm->prepare() < 0) {
                pending = nullptr;
                return false;
            }
            continue;
        }
        if (written < 0) {
            pending = nullptr;
            return false;
        }
        if (written == 0)
            break;
        sent += static_cast<std::size_t>(written);
    }
    // A sound may be shorter than the start threshold: start it by hand.
    if (pcm->state() == PcmStream::State::Prepared && sent > 0)
        pcm->start();
    if (sent >= samples.size())
        pending = nullptr;
    return true;
}

} // namespace platform
