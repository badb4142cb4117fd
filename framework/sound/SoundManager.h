// Sound effects: 256 numbered slots of loaded samples, played as instances on 32 channels.
#pragma once

#include <string>

namespace Plat {
class Window;
}

namespace Vel {

class SoundInstance;

constexpr int kMaxSounds = 256;
constexpr int kMaxChannels = 32;

class SoundManager {
public:
    virtual ~SoundManager() = default;
    // False when no output device exists; sounds still load and "play" silently.
    virtual bool IsInitialized() = 0;
    // `fileName` has no extension. Reuses the slot already holding that name, else takes the
    // highest empty slot; -1 when none is left or nothing could be loaded.
    virtual int LoadSound(const std::string& fileName) = 0;
    virtual bool LoadSound(int id, const std::string& fileName) = 0;
    virtual void ReleaseSound(int id) = 0;
    // The application's effects level 0..1, applied at once to everything playing.
    virtual void SetVolume(double volume) = 0;
    virtual bool SetBaseVolume(int id, double volume) = 0;
    virtual bool SetBasePan(int id, int pan) = 0;
    // A new instance on a free channel, or null (bad id, empty slot, all channels busy). The
    // manager owns it; the caller plays it and may release it.
    virtual SoundInstance* CreateInstance(int id) = 0;
    virtual void ReleaseSounds() = 0;
    virtual void ReleaseChannels() = 0;
    virtual double GetMasterVolume() = 0;
    virtual void SetMasterVolume(double volume) = 0;
    virtual void Flush() = 0;
    // Re-binds the device after the main window was re-created in another mode.
    virtual void SetCooperativeWindow(Plat::Window* window, bool windowed) = 0;
    // Stops every channel, keeping each instance's auto-release flag.
    virtual void StopAllSounds() = 0;
    // The lowest empty slot, -1 when all are used.
    virtual int GetFreeSoundId() = 0;
    virtual int GetNumSounds() = 0;
};

} // namespace Vel
