#pragma once
// Short sounds played without waiting: the metronome's click and the sound
// that ends a session. Playback goes through ALSA on the device named by
// $TAVO_SOUND_DEVICE ("default" without it; tests use "null"). The device is
// opened once, without blocking; a machine without a sound card fails at once
// and the caller beeps instead. A sound longer than the device's buffer is
// written in parts, topped up on the heartbeat as the buffer drains.
//
// Nothing here ever waits: the heartbeat calls in every 50 ms. A device
// suspended under a sound (the machine slept) is asked once per tick to
// resume; one that stays suspended is given up and the caller beeps instead.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The few calls the player makes on an output stream, each returning at once:
// the ALSA device in the program, a scripted one in tests. Failures are
// negative errno values as ALSA gives them (-EAGAIN, -EPIPE, -ESTRPIPE...).
class PcmStream {
public:
    enum class State { Prepared, Running, Suspended, Other };
    virtual ~PcmStream() = default;
    virtual State state() = 0;
    // Frames the stream took (possibly fewer than offered), or a failure.
    virtual long write(const std::int16_t* frames, std::size_t count) = 0;
    virtual int prepare() = 0;
    virtual int start() = 0;
    // Stops at once, dropping what is queued.
    virtual int drop() = 0;
    // Picks up after a suspension without waiting: 0, -EAGAIN while the
    // device is not back yet, another failure when it cannot resume.
    virtual int resume() = 0;
    // Frames queued and not played yet, or a failure.
    virtual long delay() = 0;
};

class SoundPlayer {
public:
    // What a heartbeat's top-up came to.
    enum class TopUp {
        Fine,    // written, waiting for room or for the device to resume, or nothing to do
        Refused, // the device refused the rest of the sound; it is dropped
        GivenUp, // the device stayed suspended: sound is off from now on (told once)
    };
    // Ticks a suspended device is given to come back: five seconds.
    static constexpr int resumeTicks = 100;

    SoundPlayer();
    // Plays on the given stream (null: no device).
    explicit SoundPlayer(std::unique_ptr<PcmStream> stream);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Whether the output device could be opened.
    bool hasDevice() const { return pcm != nullptr; }
    // Whether the device was given up after a suspension it did not leave.
    bool givenUp() const { return gaveUp; }
    // Why the device could not be opened; empty when it could.
    const std::string& openError() const { return error; }

    // Starts the click. A sound still playing is not cut off: the new click
    // is dropped (true all the same). False when there is no device, it was
    // given up or it refused the samples.
    bool playClick();
    // Starts the end-of-session sound at once, cutting off a click still
    // playing. False when there is no device or it refused the samples.
    // What does not fit into the device's buffer waits for topUp.
    bool playEndSound();
    // Writes as much of the sound still waiting as the device takes now,
    // without waiting; called on every heartbeat tick, so that a sound
    // longer than the device's buffer plays to its end. While the device is
    // suspended, asks it once to resume; after `resumeTicks` ticks without
    // success the device is given up (GivenUp, returned once).
    TopUp topUp();
    // Whether part of a sound still waits for room in the device's buffer.
    bool hasPending() const { return pending != nullptr; }

    // The built-in click: 20 ms of a 1 kHz tone dying away, 16-bit mono.
    static const std::vector<std::int16_t>& clickSamples();
    // The built-in end-of-session sound: three falling tones (E, C, G) of
    // 150 ms each with short gaps, about half a second, 16-bit mono.
    static const std::vector<std::int16_t>& endSamples();
    static constexpr unsigned sampleRate = 22050;

private:
    bool play(const std::vector<std::int16_t>& samples);
    bool feed();
    TopUp tryResume();
    bool usable() const { return pcm && !gaveUp; }

    std::unique_ptr<PcmStream> pcm;
    // Set while the device is suspended under a sound, with the ticks spent
    // waiting for it.
    bool suspended = false;
    int suspendedTicks = 0;
    bool gaveUp = false;
    // The sound being written and how much of it the device has taken.
    const std::vector<std::int16_t>* pending = nullptr;
    std::size_t sent = 0;
    std::string error;
};

} // namespace platform
