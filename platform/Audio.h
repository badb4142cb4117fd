// The sound output device: 44100 Hz, stereo, signed 16-bit, filled by a mixer callback.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace Plat {

constexpr int kAudioRate = 44100;
constexpr int kAudioChannels = 2;

// Fills `frames` interleaved stereo frames (2 x frames samples). Runs on the device's thread.
using AudioCallback = std::function<void(int16_t* out, int frames)>;

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // False when no real output exists; everything still works, silently.
    virtual bool IsOpen() const = 0;
    // Installs the mixer; the device calls it from its own thread until replaced or destroyed.
    // Waits for a callback already running, so after replacing it the old one is never called.
    virtual void SetCallback(AudioCallback callback) = 0;
    // Held around changes the callback must not see half-done.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // True when nothing ever hears what the callback writes: the mixer may then only keep
    // time instead of decoding and mixing.
    virtual bool DiscardsOutput() const { return false; }
};

// The SDL device (platform/sdl2); falls back to a closed device when none can be opened. The
// closed device still pulls its callback in real time and drops the samples, so sounds play
// silently and finish when they would have; it says so through DiscardsOutput.
std::unique_ptr<AudioDevice> CreateSdlAudioDevice();

// A device without output whose callback a test pulls by hand, to inspect the mixed samples.
class NullAudioDevice : public AudioDevice {
public:
    bool IsOpen() const override { return false; }
    void SetCallback(AudioCallback callback) override { m_callback = std::move(callback); }
    void Lock() override {}
    void Unlock() override {}
    // Runs the mixer for `frames` frames into `out` (zeros when no mixer is installed).
    void Render(int16_t* out, int frames);

private:
    AudioCallback m_callback;
};

} // namespace Plat
