// The SDL audio device: 44100 Hz stereo signed 16-bit, the mixer running in SDL's callback.
#include "platform/Audio.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace Plat {

namespace {

// About 23 ms at 44.1 kHz: short enough for effects to start promptly.
constexpr int kDeviceFrames = 1024;

class SdlAudioDevice : public AudioDevice {
public:
    ~SdlAudioDevice() override
    {
        if (m_id != 0)
            SDL_CloseAudioDevice(m_id); // waits for the callback to return
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // Needs the audio subsystem initialised; the destructor quits it again.
    bool Open()
    {
        SDL_AudioSpec want{};
        want.freq = kAudioRate;
        want.format = AUDIO_S16SYS;
        want.channels = kAudioChannels;
        want.samples = kDeviceFrames;
        want.callback = &SdlAudioDevice::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware wants.
        m_id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (m_id == 0)
            return false;
        SDL_PauseAudioDevice(m_id, 0);
        return true;
    }

    bool IsOpen() const override { return true; }
    void SetCallback(AudioCallback callback) override
    {
        SDL_LockAudioDevice(m_id);
        m_callback = std::move(callback);
        SDL_UnlockAudioDevice(m_id);
    }
    void Lock() override { SDL_LockAudioDevice(m_id); }
    void Unlock() override { SDL_UnlockAudioDevice(m_id); }

    static void SDLCALL Callback(void* userdata, Uint8* stream, int len)
    {
        auto* self = static_cast<SdlAudioDevice*>(userdata);
        auto* out = reinterpret_cast<int16_t*>(stream);
        const int frames = len / int(sizeof(int16_t) * kAudioChannels);
        std::fill(out, out + size_t(frames) * kAudioChannels, int16_t(0));
        if (self->m_callback)
            self->m_callback(out, frames);
    }

private:
    SDL_AudioDeviceID m_id = 0;
    AudioCallback m_callback;
};

// No output: a thread pulls the mixer at the real rate and drops the samples, so whatever
// plays still runs its course.
class ClosedAudioDevice : public AudioDevice {
public:
    ClosedAudioDevice()
        : m_thread([this] { Run(); })
    {
    }
    ~ClosedAudioDevice() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    bool IsOpen() const override { return false; }
    void SetCallback(AudioCallback callback) override
    {
        std::lock_guard lock(m_mutex);
        m_callback = std::move(callback);
    }
    void Lock() override { m_mutex.lock(); }
    void Unlock() override { m_mutex.unlock(); }

private:
    void Run()
    {
        // 50 ms a pull keeps the idle cost to 20 wake-ups a second.
        constexpr int kFrames = kAudioRate / 20;
        std::vector<int16_t> buffer(size_t(kFrames) * kAudioChannels);
        auto next = std::chrono::steady_clock::now();
        std::unique_lock lock(m_mutex);
        while (!m_stop) {
            next += std::chrono::milliseconds(50);
            if (m_wake.wait_until(lock, next, [this] { return m_stop; }))
                break;
            if (m_callback) {
                std::fill(buffer.begin(), buffer.end(), int16_t(0));
                m_callback(buffer.data(), kFrames);
            }
        }
    }

    std::mutex m_mutex; // held while the callback runs
    std::condition_variable m_wake;
    bool m_stop = false;
    AudioCallback m_callback;
    std::thread m_thread;
};

} // namespace

std::unique_ptr<AudioDevice> CreateSdlAudioDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
        return std::make_unique<ClosedAudioDevice>();
    }
    auto device = std::make_unique<SdlAudioDevice>();
    if (!device->Open()) {
        std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
        return std::make_unique<ClosedAudioDevice>();
    }
    return device;
}

} // namespace Plat
