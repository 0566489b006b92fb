// A sound device for tests, loaded by ALSA as a plugin: it plays in real
// time (its buffer drains at the stream's rate from the moment it starts),
// its buffer is no larger than `buffer_bytes`, and every frame it takes is
// appended to `file`. With `refuse` set it refuses every write.
//
//   pcm_type.tavosink { lib "<this library>" }
//   pcm.small { type tavosink file "<path>" buffer_bytes 4410 }
#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Sink {
    snd_pcm_ioplug_t io{};
    std::FILE* out = nullptr;
    bool refuse = false;
    bool running = false;
    std::chrono::steady_clock::time_point started;
    snd_pcm_uframes_t playedBefore = 0; // frames played up to the last start
    snd_pcm_uframes_t taken = 0;        // frames taken since the stream was prepared
};

Sink* sinkOf(snd_pcm_ioplug_t* io) { return static_cast<Sink*>(io->private_data); }

// Frames played so far: as many as time allows, never more than were taken.
snd_pcm_uframes_t played(Sink* sink)
{
    snd_pcm_uframes_t frames = sink->playedBefore;
    if (sink->running) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - sink->started).count();
        frames += static_cast<snd_pcm_uframes_t>(seconds * sink->io.rate);
    }
    return std::min(frames, sink->taken);
}

int start(snd_pcm_ioplug_t* io)
{
    Sink* sink = sinkOf(io);
    sink->started = std::chrono::steady_clock::now();
    sink->running = true;
    return 0;
}

int stop(snd_pcm_ioplug_t* io)
{
    Sink* sink = sinkOf(io);
    sink->playedBefore = played(sink);
    sink->running = false;
    return 0;
}

int prepare(snd_pcm_ioplug_t* io)
{
    Sink* sink = sinkOf(io);
    sink->running = false;
    sink->playedBefore = 0;
    sink->taken = 0;
    return 0;
}

snd_pcm_sframes_t pointer(snd_pcm_ioplug_t* io)
{
    return static_cast<snd_pcm_sframes_t>(played(sinkOf(io)) % io->buffer_size);
}

snd_pcm_sframes_t transfer(snd_pcm_ioplug_t* io, const snd_pcm_channel_area_t* areas, snd_pcm_uframes_t offset,
                           snd_pcm_uframes_t size)
{
    Sink* sink = sinkOf(io);
    if (sink->refuse)
        return -EIO;
    const char* data = static_cast<const char*>(areas[0].addr) + (areas[0].first + offset * areas[0].step) / 8;
    std::fwrite(data, 2, size, sink->out);
    std::fflush(sink->out);
    sink->taken += size;
    return static_cast<snd_pcm_sframes_t>(size);
}

int closeSink(snd_pcm_ioplug_t* io)
{
    Sink* sink = sinkOf(io);
    if (sink->out)
        std::fclose(sink->out);
    delete sink;
    return 0;
}

const snd_pcm_ioplug_callback_t callbacks = [] {
    snd_pcm_ioplug_callback_t c{};
    c.start = start;
    c.stop = stop;
    c.pointer = pointer;
    c.transfer = transfer;
    c.close = closeSink;
    c.prepare = prepare;
    return c;
}();

int constrain(snd_pcm_ioplug_t* io, long bufferBytes)
{
    static const unsigned int access[] = {SND_PCM_ACCESS_RW_INTERLEAVED};
    static const unsigned int formats[] = {SND_PCM_FORMAT_S16_LE};
    int rc = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_ACCESS, 1, access);
    if (rc >= 0)
        rc = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_FORMAT, 1, formats);
    if (rc >= 0)
        rc = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_CHANNELS, 1, 1);
    if (rc >= 0)
        rc = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_RATE, 8000, 48000);
    if (rc >= 0)
        rc = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, static_cast<unsigned>(bufferBytes / 2));
    if (rc >= 0)
        rc = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIODS, 2, 64);
    if (rc >= 0)
        rc = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_BUFFER_BYTES, 128, static_cast<unsigned>(bufferBytes));
    return rc;
}

} // namespace

extern "C" SND_PCM_PLUGIN_DEFINE_FUNC(tavosink)
{
    (void)root;
    const char* path = nullptr;
    long bufferBytes = 4410;
    bool refuse = false;
    snd_config_iterator_t i, next;
    snd_config_for_each(i, next, conf)
    {
        snd_config_t* entry = snd_config_iterator_entry(i);
        const char* id = nullptr;
        if (snd_config_get_id(entry, &id) < 0)
            continue;
        const std::string key = id;
        if (key == "comment" || key == "type" || key == "hint")
            continue;
        if (key == "file" && snd_config_get_string(entry, &path) >= 0)
            continue;
        if (key == "buffer_bytes" && snd_config_get_integer(entry, &bufferBytes) >= 0)
            continue;
        if (key == "refuse") {
            long value = 0;
            if (snd_config_get_integer(entry, &value) >= 0) {
                refuse = value != 0;
                continue;
            }
        }
        return -EINVAL;
    }
    if (!path || stream != SND_PCM_STREAM_PLAYBACK)
        return -EINVAL;
    auto* sink = new Sink;
    sink->refuse = refuse;
    sink->out = std::fopen(path, "wb");
    if (!sink->out) {
        delete sink;
        return -errno;
    }
    sink->io.version = SND_PCM_IOPLUG_VERSION;
    sink->io.name = "tavo test sink";
    sink->io.callback = &callbacks;
    sink->io.private_data = sink;
    sink->io.mmap_rw = 0;
    int rc = snd_pcm_ioplug_create(&sink->io, name, stream, mode);
    if (rc < 0) {
        std::fclose(sink->out);
        delete sink;
        return rc;
    }
    rc = constrain(&sink->io, bufferBytes);
    if (rc < 0) {
        snd_pcm_ioplug_delete(&sink->io);
        return rc;
    }
    *pcmp = sink->io.pcm;
    return 0;
}

extern "C" {
SND_PCM_PLUGIN_SYMBOL(tavosink);
}
