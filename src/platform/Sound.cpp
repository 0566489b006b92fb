#include "platform/Sound.h"

#include <alsa/asoundlib.h>

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
    // 100 ms of buffer holds a whole click, so one write never waits.
    rc = snd_pcm_set_params(opened, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, sampleRate, 1, 100000);
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

bool SoundPlayer::playClick()
{
    if (!pcm)
        return false;
    snd_pcm_t* p = handle(pcm);
    snd_pcm_state_t state = snd_pcm_state(p);
    if (state == SND_PCM_STATE_RUNNING) {
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(p, &delay) == 0 && delay > 0)
            return true; // still playing the last click
    }
    if (state != SND_PCM_STATE_PREPARED && snd_pcm_prepare(p) < 0)
        return false;
    const auto& samples = clickSamples();
    snd_pcm_sframes_t written = snd_pcm_writei(p, samples.data(), samples.size());
    if (written == -EPIPE || written == -ESTRPIPE) {
        if (snd_pcm_recover(p, static_cast<int>(written), 1) < 0)
            return false;
        written = snd_pcm_writei(p, samples.data(), samples.size());
    }
    if (written < 0)
        return written == -EAGAIN;
    // A click is shorter than the start threshold: start it by hand.
    if (snd_pcm_state(p) == SND_PCM_STATE_PREPARED)
        snd_pcm_start(p);
    return true;
}

} // namespace platform
