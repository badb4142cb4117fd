// The SDL audio device: 44100 Hz stereo signed 16-bit, the mixer running in SDL's callback.
#include "platform/Audio.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace Plat {

namespace {

// About 23 ms at 44.1 kHz: short enough for effects to start promptly.
constexpr int kDeviceFrames = 1024;

class SdlAudioDevice : public AudioDevice {
public:
    ~SdlAudioDevice() override
    {
        if (m_id == 0)
            return; // see CreateSdlAudioDevice: the subsystem stays up until SDL_Quit
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
    bool DiscardsOutput() const override { return true; }
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
        // 100 ms a pull: ten wake-ups a second, and a sound still ends within 0.1 s of when
        // it would have.
        constexpr int kFrames = kAudioRate / 10;
        std::vector<int16_t> buffer(size_t(kFrames) * kAudioChannels);
        auto next = std::chrono::steady_clock::now();
        std::unique_lock lock(m_mutex);
        while (!m_stop) {
            next += std::chrono::milliseconds(100);
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

// Whether a sound server or a sound card could be there. SDL's audio start-up reads the ALSA
// configuration and, when no device opens, leaves a device-watching thread waking ten times a
// second; on a machine without either it is not started at all.
bool SoundOutputMayExist()
{
    for (const char* forced : {"SDL_AUDIODRIVER", "PULSE_SERVER", "AUDIODEV"})
        if (const char* value = std::getenv(forced); value && *value)
            return true;
    std::vector<std::string> sockets = {"/run/pulse/native", "/var/run/pulse/native"};
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        sockets.push_back(std::string(runtime) + "/pulse/native");
        sockets.push_back(std::string(runtime) + "/pipewire-0");
    }
    for (const std::string& socket : sockets)
        if (::access(socket.c_str(), F_OK) == 0)
            return true;
    if (::access("/dev/dsp", F_OK) == 0)
        return true;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", ec))
        if (entry.path().filename().string().rfind("pcmC", 0) == 0)
            return true;
    return false;
}

} // namespace

std::unique_ptr<AudioDevice> CreateSdlAudioDevice()
{
    if (!SoundOutputMayExist()) {
        std::fprintf(stderr, "Sound is off: no sound card or sound server found\n");
        return std::make_unique<ClosedAudioDevice>();
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
        return std::make_unique<ClosedAudioDevice>();
    }
    auto device = std::make_unique<SdlAudioDevice>();
    if (!device->Open()) {
        // The subsystem is not quit here: quitting joins SDL's device-watching thread, which
        // sleeps in 100 ms steps, and that wait fell right before the first frame. SDL_Quit at
        // the end of the program takes it down.
        std::fprintf(stderr, "Sound is off: %s\n", SDL_GetError());
        return std::make_unique<ClosedAudioDevice>();
    }
    return device;
}

} // namespace Plat
