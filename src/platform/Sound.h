#pragma once
// Short sounds played without waiting: the metronome's click and the sound
// that ends a session. Playback goes through ALSA on the device named by
// $TAVO_SOUND_DEVICE ("default" without it; tests use "null"). The device is
// opened once, without blocking; a machine without a sound card fails at once
// and the caller beeps instead. A sound longer than the device's buffer is
// written in parts, topped up on the heartbeat as the buffer drains.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Whether the output device could be opened.
    bool hasDevice() const { return pcm != nullptr; }
    // Why the device could not be opened; empty when it could.
    const std::string& openError() const { return error; }

    // Starts the click. A sound still playing is not cut off: the new click
    // is dropped (true all the same). False when there is no device or the
    // device refused the samples.
    bool playClick();
    // Starts the end-of-session sound at once, cutting off a click still
    // playing. False when there is no device or it refused the samples.
    // What does not fit into the device's buffer waits for topUp.
    bool playEndSound();
    // Writes as much of the sound still waiting as the device takes now,
    // without waiting; called on every heartbeat tick, so that a sound
    // longer than the device's buffer plays to its end. False when the
    // device refused the rest (it is then dropped).
    bool topUp();
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

    void* pcm = nullptr;
    // The sound being written and how much of it the device has taken.
    const std::vector<std::int16_t>* pending = nullptr;
    std::size_t sent = 0;
    std::string error;
};

} // namespace platform
