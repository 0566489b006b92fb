#include "platform/Sound.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdlib>

namespace platform {

namespace {

// ALSA writes its complaints to stderr; the caller reports what matters.
void quietErrors(const char*, int, const char*, int, const char*, ...) {}

snd_pcm_t* handle(void* pcm) { return static_cast<snd_pcm_t*>(pcm); }

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
    pcm = opened;
}

SoundPlayer::~SoundPlayer()
{
    if (pcm)
        snd_pcm_close(handle(pcm));
}

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
    if (!pcm)
        return false;
    if (pending)
        return true; // a sound is still being written
    snd_pcm_t* p = handle(pcm);
    if (snd_pcm_state(p) == SND_PCM_STATE_RUNNING) {
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(p, &delay) == 0 && delay > 0)
            return true; // still playing the last sound
    }
    return play(clickSamples());
}

bool SoundPlayer::playEndSound()
{
    if (!pcm)
        return false;
    snd_pcm_t* p = handle(pcm);
    if (snd_pcm_state(p) == SND_PCM_STATE_RUNNING)
        snd_pcm_drop(p); // the end of the session comes before a click
    pending = nullptr;
    return play(endSamples());
}

bool SoundPlayer::topUp() { return !pending || feed(); }

bool SoundPlayer::play(const std::vector<std::int16_t>& samples)
{
    snd_pcm_t* p = handle(pcm);
    if (snd_pcm_state(p) != SND_PCM_STATE_PREPARED && snd_pcm_prepare(p) < 0)
        return false;
    pending = &samples;
    sent = 0;
    return feed();
}

bool SoundPlayer::feed()
{
    snd_pcm_t* p = handle(pcm);
    const std::vector<std::int16_t>& samples = *pending;
    while (sent < samples.size()) {
        snd_pcm_sframes_t written = snd_pcm_writei(p, samples.data() + sent, samples.size() - sent);
        if (written == -EAGAIN)
            break; // the buffer is full: the next tick goes on
        if (written == -EPIPE || written == -ESTRPIPE) {
            // The buffer ran dry before this top-up: start again where it stopped.
            if (snd_pcm_recover(p, static_cast<int>(written), 1) < 0) {
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
    if (snd_pcm_state(p) == SND_PCM_STATE_PREPARED && sent > 0)
        snd_pcm_start(p);
    if (sent >= samples.size())
        pending = nullptr;
    return true;
}

} // namespace platform
